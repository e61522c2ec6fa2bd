#pragma once
#include "greeting/ParloDoc.h"
#include "PlainFile.h"
#include "Stopwatch.h"
#include <algorithm>
#include <string>

// The fastest load of a greeting file into a new document and, as its yardstick, the
// fastest plain read of the same file. The two take turns, so that a busy moment of the
// machine falls on both alike; each document goes after its time is taken.
struct GreetingLoadTimes {
    double plainRead = 1e300;
    double load = 1e300;
    // Every read and load worked and every loaded document passed the check.
    bool correct = true;
};

template <class Check> GreetingLoadTimes TimeGreetingLoad(const std::string& path, int runs, Check check)
{
    GreetingLoadTimes times;
    std::string bytes;
    for (int run = 0; run < runs; ++run) {
        Stopwatch reading;
        times.correct &= PlainRead(path, bytes);
        times.plainRead = std::min(times.plainRead, reading.Milliseconds());

        CParloDoc loaded;
        Stopwatch loading;
        times.correct &= loaded.ReadGreetingFile(path) == GreetingFileResult::Done;
        times.load = std::min(times.load, loading.Milliseconds());
        times.correct &= check(loaded);
    }
    return times;
}
