// Stands in for the web browser in the test prefix: appends every address it is given
// on its command line, one a line, to BrowserRecorder.log beside itself.
#include <windows.h>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::string log(path);
    log.replace(log.rfind('\\') + 1, std::string::npos, "BrowserRecorder.log");

    std::string record;
    for (int i = 1; i < __argc; ++i)
        record += std::string(__argv[i]) + "\n";
    // Append-only access makes each record one append, even with several recorders running.
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == record.size() ? 0 : 1;
}
