#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

// While it lives, the test prefix opens web addresses with BrowserRecorder.exe from the
// test program's folder: the shell's handlers of http and https addresses and of web
// pages ("htmlfile"), and the ".htm" file type, which names "htmlfile". Every key it
// touches is put back afterwards. The shell starts the recorder and returns at once, so
// the addresses are waited for.
class RecordingBrowser {
public:
    RecordingBrowser();
    ~RecordingBrowser();
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    const std::string& RecorderPath() const { return recorder; }
    // The open command that starts the recorder on "%1".
    std::string RecorderCommand() const;

    // The http and https handlers name a program that does not exist: the shell fails.
    void BreakShell();
    // The command registered for ".htm" files; RemoveHtmType takes ".htm" away altogether.
    void SetHtmCommand(const std::string& command);
    void RemoveHtmType();

    // The addresses recorded so far, once there are at least count of them or after the
    // timeout, whichever comes first.
    std::vector<std::string> WaitForAddresses(size_t count, DWORD timeoutMs = 10000) const;

private:
    // A key of HKEY_CLASSES_ROOT and its default value as they were before.
    struct SavedKey {
        std::string subkey;
        bool existed;
        std::optional<std::string> value;
    };

    static SavedKey Save(const std::string& subkey);
    static void Restore(const SavedKey& saved);

    std::string recorder;
    std::string log;
    std::vector<SavedKey> saved;
};
