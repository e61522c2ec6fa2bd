#include "send/Preview.h"
#include "framework/MessageBox.h"
#include "framework/ProcessStart.h"
#include "greeting/ParloDoc.h"
#include <cstdio>

void PreviewGreeting(CParloDoc& doc, int start)
{
    if (doc.GetActionCount() == 0) {
        AfxMessageBox("Can't play an empty greeting.\n\nPlease use the 'Add' button to add actions to the greeting.",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (PlayGreetingText(doc.BuildGreetingText(CurrentSender(), "\n"), start))
        doc.SetPreviewed(true);
}

bool PlayGreetingText(const std::string& greetingText, int start)
{
    // Where the system names no temporary folder, the current folder serves.
    char folder[MAX_PATH] = ".";
    const DWORD length = ::GetTempPathA(MAX_PATH - 1, folder);
    if (length == 0 || length >= MAX_PATH - 1)
        lstrcpyA(folder, ".");
    std::string path = folder;
    if (path.back() != '\\')
        path += '\\';
    path += "PQPrev.pcg";

    // The path goes unquoted: the player joins the words before the last "*" again.
    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof(commandLine), "DODevavi.EXE %s *%d", path.c_str(), start);

    const GreetingFileResult written = WriteGreetingText(path, greetingText);
    if (written != GreetingFileResult::Done) {
        AfxMessageBox(GreetingFileMessage(written), MB_ICONERROR | MB_SETFOREGROUND);
        AfxMessageBox("Failed to save greeting file before preview.\n\nPlease make sure you have enough disk space.",
                      MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!StartProcess(commandLine)) {
        AfxMessageBox("Failed to play greeting file.", MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}
