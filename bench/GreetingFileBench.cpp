// Times saving, loading and describing a large greeting, next to a plain write and read
// of the same bytes through the system's file calls as the yardstick.
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "settings/AppSettings.h"
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

    double save = 1e300, load = 1e300, describe = 1e300, plainWrite = 1e300, plainRead = 1e300;
    std::string bytes;
    bool correct = true;
    for (int round = 0; round < Rounds; ++round) {
        Stopwatch saving;
        correct &= source.WriteGreetingFile(greetingPath) == GreetingFileResult::Done;
        save = std::min(save, saving.Milliseconds());

        Stopwatch reading;
        correct &= PlainRead(greetingPath, bytes);
        plainRead = std::min(plainRead, reading.Milliseconds());

        Stopwatch writing;
        correct &= PlainWrite(plainPath, bytes);
        plainWrite = std::min(plainWrite, writing.Milliseconds());

        auto loaded = std::make_unique<CParloDoc>();
        Stopwatch loading;
        correct &= loaded->ReadGreetingFile(greetingPath) == GreetingFileResult::Done;
        load = std::min(load, loading.Milliseconds());
        correct &= loaded->GetActionCount() == ActionCount &&
                   loaded->GetAction(ActionCount - 1)->GetLine() == source.GetAction(ActionCount - 1)->GetLine();

        Stopwatch describing;
        size_t described = 0;
        for (int i = 0; i < loaded->GetActionCount(); ++i)
            described += loaded->GetAction(i)->GetDescription().size();
        describe = std::min(describe, describing.Milliseconds());
        correct &= described > 0;
    }
    ::DeleteFileA(greetingPath.c_str());
    ::DeleteFileA(plainPath.c_str());
    ::RemoveDirectoryA(folder.c_str());

    std::printf("Greeting of %d actions, %zu bytes on disk, best of %d rounds\n", ActionCount, bytes.size(), Rounds);
    std::printf("%-14s %8.2f ms\n", "plain write", plainWrite);
    std::printf("%-14s %8.2f ms\n", "plain read", plainRead);
    PrintRatio("save", save, plainWrite, 3.0);
    PrintRatio("load", load, plainRead, 10.0);
    std::printf("%-14s %8.2f ms   %s\n", "describe all", describe, describe < 100.0 ? "within target" : "OVER TARGET");
    if (!correct) {
        std::printf("the greeting did not come back as it was written\n");
        return 1;
    }
    return 0;
}
