// Times the download of an update from the service stand-in through the program's own
// download worker, reports and all, and counts its progress reports. Run by
// update-bench.sh, which publishes the file, points Wine's proxy at the stand-in and times
// curl fetching the same file beside it:
//
//   UpdateDownloadBench <address> <target file> <size>
//                          prints the best time of several rounds (download_ms= for the
//                          script) and the most progress reports seen in one second
#include "Stopwatch.h"
#include "update/DownloadUpdate.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int Rounds = 5;

struct Round {
    DownloadOutcome outcome;
    double milliseconds;
    std::vector<DWORD> reportTimes;
};

// One download by the worker thread, with this thread taking its reports as the dialog does.
Round Download(HWND window, const std::string& address, const std::string& target)
{
    auto job = std::make_shared<DownloadJob>(window);
    job->agentName = "Parlacard";
    job->fileUrl = address;
    job->targetPath = target;
    Round round{ { DownloadFailed, 0 }, 0, {} };
    const Stopwatch watch;
    if (!StartWorker(&DownloadUpdate, job))
        return round;
    MSG message;
    while (GetMessageA(&message, window, 0, 0) > 0) {
        if (message.message == DownloadProgress) {
            round.reportTimes.push_back(message.time);
        } else if (message.message == DownloadDone) {
            round.outcome = { static_cast<DownloadResult>(message.wParam), static_cast<UINT>(message.lParam) };
            break;
        }
    }
    round.milliseconds = watch.Milliseconds();
    return round;
}

// The most reports that fell within any one second, the last one (at the total, which
// may follow the one before at once) left out.
size_t MostInOneSecond(std::vector<DWORD> times)
{
    if (!times.empty())
        times.pop_back();
    size_t most = 0;
    for (size_t first = 0; first < times.size(); ++first) {
        size_t last = first;
        while (last + 1 < times.size() && times[last + 1] - times[first] < 1000)
            ++last;
        most = std::max(most, last - first + 1);
    }
    return most;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: UpdateDownloadBench <address> <target file> <size>\n");
        return 2;
    }
    HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "no window for the reports (error %lu)\n", ::GetLastError());
        return 1;
    }
    double best = 1e300;
    size_t mostReports = 0, reports = 0;
    for (int i = 0; i < Rounds; ++i) {
        const Round round = Download(window, argv[1], argv[2]);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const bool whole = ::GetFileAttributesExA(argv[2], GetFileExInfoStandard, &data) &&
                           data.nFileSizeLow == std::strtoul(argv[3], nullptr, 10) && data.nFileSizeHigh == 0;
        if (round.outcome.result != DownloadComplete || !whole) {
            std::fprintf(stderr, "download failed: result %d, message %u\n", round.outcome.result, round.outcome.message);
            return 1;
        }
        best = std::min(best, round.milliseconds);
        mostReports = std::max(mostReports, MostInOneSecond(round.reportTimes));
        reports = round.reportTimes.size();
        ::DeleteFileA(argv[2]);
    }
    std::printf("UpdateDownloadBench: %s bytes, best of %d rounds: %.2f ms; %zu progress reports in the last round, "
                "at most %zu within one second\n",
                argv[3], Rounds, best, reports, mostReports);
    std::printf("download_ms=%.2f\nmost_reports_per_second=%zu\n", best, mostReports);
    return 0;
}
