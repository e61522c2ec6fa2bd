#include "greeting/GreetingTemplate.h"
#include "framework/MessageBox.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "settings/AppSettings.h"
#include "settings/FilePath.h"
#include "settings/FileUtil.h"
#include <windows.h>
#include <utility>

namespace {

void ShowTemplateWarning(const std::string& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

} // namespace

std::string TemplatePath(const std::string& greetingType)
{
    char program[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    FilePath path;
    path.SplitPath(std::string(program, length));
    // The directory ends in a separator already; the doubled one the join makes is
    // harmless to the file system.
    path.SetDirectory(path.GetDirectory() + "\\" + TemplateFolderName);
    path.SetFileName(greetingType);
    path.SetExtension(".pcg");
    return path.MakePath();
}

bool ReplacePlaceholder(std::string& text, const std::string& placeholder, const std::string& value)
{
    if (placeholder.empty())
        return false;
    bool found = false;
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
        found = true;
    }
    return found;
}

bool CParloDoc::LoadTemplate(const std::string& greetingType)
{
    if (greetingType == EmptyGreetingType)
        return true;
    const std::string path = TemplatePath(greetingType);
    if (path.empty() || !FileExists(path)) {
        ShowTemplateWarning("Could not find the template file for the " + greetingType +
                            " greeting.\nCreating an empty greeting.");
        return false;
    }
    // Read as a greeting file, but the new greeting stays untitled.
    const GreetingFileResult read = ReadGreetingFile(path);
    if (read == GreetingFileResult::Done)
        return true;
    const std::string problem = GreetingFileMessage(read);
    if (!problem.empty())
        AfxMessageBox(problem, MB_ICONERROR | MB_SETFOREGROUND);
    ShowTemplateWarning("Could not open the template file for the " + greetingType +
                        " greeting.\nCreating an empty greeting.");
    return false;
}

void CParloDoc::PersonaliseGreeting()
{
    const bool male = senderGender == "Male";
    const std::pair<const char*, std::string> placeholders[] = {
        { "<USERNAME>", GetSettings().UserName },
        { "<USEREMAIL>", GetSettings().UserEmail },
        { "<RECIPIENTNAME>", recipientName },
        { "<COMMA_RECIPIENTNAME>", recipientName.empty() ? "" : "," },
        { "<HE_SHE>", male ? "He" : "She" },
        { "<HIS_HER>", male ? "His" : "Her" },
    };
    for (size_t index = 0; index < actions.Size(); ++index) {
        GreetingAction* action = actions.At(index);
        if (action->GetCommand() != CommandSay)
            continue;
        std::string text = action->GetArgument();
        bool replaced = false;
        for (const auto& placeholder : placeholders)
            replaced |= ReplacePlaceholder(text, placeholder.first, placeholder.second);
        // A name left empty at the end of a line leaves no blank for the balloon.
        if (replaced)
            action->SetArgument(text.substr(0, text.find_last_not_of(' ') + 1));
    }
}
