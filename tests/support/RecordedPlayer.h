#pragma once
#include <string>
#include <vector>

// The recording player that the test program's folder holds as DODevavi.EXE: it logs the
// command line it was started with to PlayerLog.txt beside it. The log is emptied when
// this object is made and when it goes.
class RecordedPlayer {
public:
    RecordedPlayer();
    ~RecordedPlayer();
    RecordedPlayer(const RecordedPlayer&) = delete;
    RecordedPlayer& operator=(const RecordedPlayer&) = delete;

    // The folder of the running test program.
    static std::string ProgramFolder();
    static std::string LogPath();

    // The command lines it was started with, waiting up to 30 s for that many, since a
    // start is asynchronous.
    std::vector<std::string> Starts(size_t expected) const;
};
