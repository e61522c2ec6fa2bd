// Times saving, loading and describing a large greeting, next to a plain write and read
// of the same bytes through the system's file calls as the yardstick.
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "settings/AppSettings.h"
#include "GreetingLoad.h"
#include "PlainFile.h"
#include "Stopwatch.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

const int ActionCount = 100000;
const int Rounds = 5;
// A load takes milliseconds: more of them, so that one quiet moment of a busy machine is among them.
const int LoadRuns = 15;

// Every command, with quotes and commas in the spoken texts.
void FillGreeting(CParloDoc& doc)
{
    const char* characters[] = { "Merlin", "Genie", "Peedy", "Robby" };
    for (int i = 0; i < ActionCount; ++i) {
        const std::string character = characters[i % 4];
        GreetingAction* action = nullptr;
        switch (i % 5) {
        case 0:
            action = new GreetingAction(character, CommandShow, "Animate");
            break;
        case 1:
            action = new GreetingAction(character, CommandSay,
                                        "Hello, \"friend\" number " + std::to_string(i) + ", how are you?");
            break;
        case 2:
            action = new GreetingAction(character, CommandAnimate, i % 2 ? "Greet" : "Congratulate");
            break;
        case 3:
            action = new GreetingAction(character, CommandMove, PositionNames[i % PositionNames.size()]);
            break;
        default:
            action = new GreetingAction(character, CommandHide, "Don't Animate");
            break;
        }
        doc.InsertAction(action, i);
    }
}

bool PlainWrite(const std::string& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return ::CloseHandle(file) && ok;
}

std::string MakeWorkFolder()
{
    char temp[MAX_PATH];
    char unique[MAX_PATH];
    if (!::GetTempPathA(MAX_PATH, temp) || !::GetTempFileNameA(temp, "pcb", 0, unique) ||
        !::DeleteFileA(unique) || !::CreateDirectoryA(unique, nullptr))
        return std::string();
    return unique;
}

void PrintRatio(const char* name, double ms, double anchorMs, double limit)
{
    const double ratio = ms / anchorMs;
    std::printf("%-14s %8.2f ms   %5.2fx the plain call, target %.0fx   %s\n", name, ms, ratio, limit,
                ratio <= limit ? "within target" : "OVER TARGET");
}

} // namespace

int main()
{
    FillVocabulary();
    GetSettings().UserName = "Bench Sender";
    GetSettings().UserEmail = "bench@example.com";

    const std::string folder = MakeWorkFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "cannot create a work folder (error %lu)\n", ::GetLastError());
        return 1;
    }
    const std::string greetingPath = folder + "\\bench.pcg";
    const std::string plainPath = folder + "\\plain.pcg";

    CParloDoc source;
    FillGreeting(source);

    double save = 1e300, describe = 1e300, plainWrite = 1e300;
    std::string bytes;
    bool correct = true;
    for (int round = 0; round < Rounds; ++round) {
        Stopwatch saving;
        correct &= source.WriteGreetingFile(greetingPath) == GreetingFileResult::Done;
        save = std::min(save, saving.Milliseconds());

        correct &= PlainRead(greetingPath, bytes);
        Stopwatch writing;
        correct &= PlainWrite(plainPath, bytes);
        plainWrite = std::min(plainWrite, writing.Milliseconds());

        // Every row described once, as a list scrolled from top to bottom asks for them.
        auto loaded = std::make_unique<CParloDoc>();
        correct &= loaded->ReadGreetingFile(greetingPath) == GreetingFileResult::Done;
        Stopwatch describing;
        size_t described = 0;
        for (int i = 0; i < loaded->GetActionCount(); ++i)
            described += loaded->GetAction(i)->GetDescription().size();
        describe = std::min(describe, describing.Milliseconds());
        correct &= described > 0;
    }
    const GreetingLoadTimes loading = TimeGreetingLoad(greetingPath, LoadRuns, [&](CParloDoc& loaded) {
        return loaded.GetActionCount() == ActionCount &&
               loaded.GetAction(ActionCount - 1)->GetLine() == source.GetAction(ActionCount - 1)->GetLine();
    });
    correct &= loading.correct;
    ::DeleteFileA(greetingPath.c_str());
    ::DeleteFileA(plainPath.c_str());
    ::RemoveDirectoryA(folder.c_str());

    std::printf("Greeting of %d actions, %zu bytes on disk, best of %d rounds (loads: of %d)\n", ActionCount,
                bytes.size(), Rounds, LoadRuns);
    std::printf("%-14s %8.2f ms\n", "plain write", plainWrite);
    std::printf("%-14s %8.2f ms\n", "plain read", loading.plainRead);
    PrintRatio("save", save, plainWrite, 3.0);
    PrintRatio("load", loading.load, loading.plainRead, 10.0);
    std::printf("%-14s %8.2f ms   %s\n", "describe all", describe, describe < 100.0 ? "within target" : "OVER TARGET");
    if (!correct) {
        std::printf("the greeting did not come back as it was written\n");
        return 1;
    }
    return 0;
}
