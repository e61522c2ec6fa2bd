// Times the upload of a greeting of 1 MB to the service stand-in: the text built and
// posted as the program does it, without the browser launch that follows. Run by
// upload-bench.sh, which starts the stand-in, points Wine's proxy at it and times curl
// posting the same bytes beside it:
//
//   UploadBench <file>    writes the greeting's bytes to <file> for curl, then prints
//                         the best times of several rounds (post_ms= and both_ms= lines
//                         for the script)
#include "greeting/ParloDoc.h"
#include "send/GreetingPost.h"
#include "send/Upload.h"
#include "settings/AppSettings.h"
#include "Stopwatch.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const size_t GreetingSize = 1024 * 1024;
const int Rounds = 10;

// Spoken lines of every length up to a full balloon, until the text reaches the size.
void FillGreeting(CParloDoc& doc)
{
    const std::string words = "Happy birthday, dear friend! May your day be as bright as the sun. ";
    size_t size = 0;
    for (int i = 0; size < GreetingSize; ++i) {
        const std::string text = words.substr(0, 20 + i % (words.size() - 20)) + std::to_string(i);
        doc.InsertAction(new GreetingAction("Merlin", "Say", text), i);
        size += doc.GetAction(i)->GetLine().size() + 2;
    }
}

bool WriteFileBytes(const char* path, const std::string& bytes)
{
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return ::CloseHandle(file) && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: UploadBench <file for the greeting's bytes>\n");
        return 2;
    }
    GetSettings().UserName = "Bench Sender";
    GetSettings().UserEmail = "bench@example.com";
    CParloDoc doc;
    FillGreeting(doc);
    const std::string text = doc.BuildGreetingText(CurrentSender(), "\r\n");
    if (!WriteFileBytes(argv[1], text)) {
        std::fprintf(stderr, "cannot write %s (error %lu)\n", argv[1], ::GetLastError());
        return 1;
    }

    // Building the text is timed apart: curl, the yardstick, posts bytes made beforehand.
    double bestBuild = 1e300, bestPost = 1e300, bestBoth = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        GreetingPostReply reply;
        std::string failure;
        const Stopwatch watch;
        const std::string built = doc.BuildGreetingText(CurrentSender(), "\r\n");
        const double builtAfter = watch.Milliseconds();
        const bool posted = PostGreeting(built, reply, failure);
        const double done = watch.Milliseconds();
        bestBuild = std::min(bestBuild, builtAfter);
        bestPost = std::min(bestPost, done - builtAfter);
        bestBoth = std::min(bestBoth, done);
        const std::string& firstLine = reply.firstLine;
        const std::string id = firstLine.substr(0, firstLine.find_last_not_of(" \t\r") + 1);
        if (!posted || id.empty() || !IsGreetingId(id)) {
            std::fprintf(stderr, "upload failed: %s\n", posted ? ("the reply was " + firstLine).c_str() : failure.c_str());
            return 1;
        }
    }
    std::printf("UploadBench: greeting of %zu bytes in %d actions, best of %d rounds\n", text.size(),
                doc.GetActionCount(), Rounds);
    std::printf("  building the text   %8.2f ms\n", bestBuild);
    std::printf("  posting it          %8.2f ms\n", bestPost);
    std::printf("  both in one round   %8.2f ms\n", bestBoth);
    std::printf("post_ms=%.2f\nboth_ms=%.2f\n", bestPost, bestBoth);
    return 0;
}
