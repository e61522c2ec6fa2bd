#include "greeting/ParloDoc.h"
#include "app/AppSettings.h"
#include "framework/MessageBox.h"
#include "greeting/NewGreetingChoice.h"
#include <windows.h>
#include <algorithm>
#include <climits>

namespace {

const char FileHeader[] = "Parlacard File Version : ";
const int FileVersion = 1;

// No greeting comes near these; beyond them a file would only exhaust the memory.
const ULONGLONG MaxFileSize = 64 * 1024 * 1024;
const size_t MaxActions = 1000000;

const char WrongFormatMessage[] = "Wrong file format.\nThis file is not a valid Parlacard file.";
const char NewerVersionMessage[] = "A newer version of the application wrote the parlacard file.";
const char SaveFailedMessage[] = "An error occurred saving the parlacard file.";

void ShowError(const char* text)
{
    AfxMessageBox(text, MB_ICONERROR | MB_SETFOREGROUND);
}

// Leading blanks, an optional sign, then digits up to the first other character;
// no digits is 0. Huge numbers stop growing at the largest int.
int ParseVersion(const std::string& text)
{
    size_t at = text.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string::npos)
        return 0;
    const bool negative = text[at] == '-';
    if (text[at] == '+' || text[at] == '-')
        ++at;
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min<long long>(value * 10 + (text[at] - '0'), INT_MAX);
    return static_cast<int>(negative ? -value : value);
}

// A new empty file in the folder of path, so that it can take path's place by a rename.
std::string CreateTempFileBeside(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/:");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char temp[MAX_PATH];
    if (!::GetTempFileNameA(folder.c_str(), "pcg", 0, temp))
        return std::string();
    return temp;
}

} // namespace

bool CParloDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    NewGreetingChoice choice;
    choice.senderName = GetSettings().UserName;
    if (!RunNewGreetingDialog(choice))
        return true;
    ClearActions();
    recipientName = choice.recipientName;
    senderGender = choice.gender;
    recipientAddresses.clear();
    UpdateAllViews(nullptr);
    return true;
}

bool CParloDoc::OnOpenDocument(const std::string& path)
{
    return ReadGreetingFile(path);
}

bool CParloDoc::OnSaveDocument(const std::string& path)
{
    if (!WriteGreetingFile(path))
        return false;
    SetModifiedFlag(false);
    return true;
}

int CParloDoc::GetActionCount() const
{
    return static_cast<int>(actions.size());
}

GreetingAction* CParloDoc::GetAction(int index) const
{
    if (index < 0 || index >= GetActionCount())
        return nullptr;
    return actions[index].get();
}

void CParloDoc::InsertAction(GreetingAction* action, int index)
{
    index = std::max(0, std::min(index, GetActionCount()));
    actions.insert(actions.begin() + index, std::unique_ptr<GreetingAction>(action));
    SetModifiedFlag();
}

void CParloDoc::RemoveAction(GreetingAction* action)
{
    const int index = IndexOf(action);
    if (index < 0)
        return;
    actions.erase(actions.begin() + index);
    SetModifiedFlag();
}

void CParloDoc::MoveActionUp(GreetingAction* action)
{
    SwapWithNeighbour(action, -1);
}

void CParloDoc::MoveActionDown(GreetingAction* action)
{
    SwapWithNeighbour(action, 1);
}

void CParloDoc::ClearActions()
{
    actions.clear();
    previewed = false;
}

void CParloDoc::BuildGreetingText(const std::string& terminator)
{
    const auto appendLine = [&](const std::string& text) {
        greetingText += text;
        greetingText += terminator;
    };
    const AppSettings& settings = GetSettings();
    greetingText = FileHeader + std::to_string(FileVersion) + terminator;
    appendLine(recipientName);
    appendLine(recipientAddresses);
    appendLine(settings.UserName);
    appendLine(settings.UserEmail);
    appendLine(std::string());
    for (const auto& action : actions)
        appendLine(action->GetLine());
}

// The old file is replaced only by a complete new one, so a failed save loses nothing.
bool CParloDoc::WriteGreetingFile(const std::string& path)
{
    const std::string tempPath = CreateTempFileBeside(path);
    bool saved = false;
    if (!tempPath.empty()) {
        try {
            if (recordFile.Open(tempPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive |
                                              CFile::typeText)) {
                BuildGreetingText("\n");
                recordFile.WriteString(greetingText);
                // On the disk before it takes the old file's place.
                recordFile.Flush();
                recordFile.Close();
                saved = ::MoveFileExA(tempPath.c_str(), path.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            }
        } catch (const CFileException&) {
            recordFile.Abort();
        }
        if (!saved)
            ::DeleteFileA(tempPath.c_str());
    }
    if (!saved)
        ShowError(SaveFailedMessage);
    return saved;
}

bool CParloDoc::ReadGreetingFile(const std::string& path)
{
    ActionList loaded;
    ReadOutcome outcome;
    try {
        if (!recordFile.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
            return false;
        outcome = ReadOpenFile(loaded);
        recordFile.Close();
    } catch (const CFileException&) {
        recordFile.Abort();
        return false;
    }
    if (outcome != ReadOutcome::Loaded) {
        ShowError(outcome == ReadOutcome::NewerVersion ? NewerVersionMessage : WrongFormatMessage);
        return false;
    }
    ClearActions();
    actions = std::move(loaded);
    SetModifiedFlag(false);
    UpdateAllViews(nullptr);
    return true;
}

// The recipient lines are taken as soon as they are read; the actions only go to the
// caller's list.
CParloDoc::ReadOutcome CParloDoc::ReadOpenFile(ActionList& loaded)
{
    if (recordFile.GetLength() > MaxFileSize)
        return ReadOutcome::WrongFormat;
    std::string line;
    const size_t headerLength = sizeof FileHeader - 1;
    if (!recordFile.ReadString(line) || line.compare(0, headerLength, FileHeader) != 0)
        return ReadOutcome::WrongFormat;
    if (ParseVersion(line.substr(headerLength)) > FileVersion)
        return ReadOutcome::NewerVersion;

    recordFile.ReadString(line);
    recipientName = line;
    recordFile.ReadString(line);
    recipientAddresses = line;
    // The sender's name and address are always the current settings; the blank line ends the head.
    for (int skipped = 0; skipped < 3; ++skipped)
        recordFile.ReadString(line);

    for (;;) {
        auto action = std::make_unique<GreetingAction>();
        if (!recordFile.ReadRecord(*action))
            return ReadOutcome::Loaded;
        if (loaded.size() == MaxActions)
            return ReadOutcome::WrongFormat;
        loaded.push_back(std::move(action));
    }
}

int CParloDoc::IndexOf(const GreetingAction* action) const
{
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [action](const auto& item) { return item.get() == action; });
    return found == actions.end() ? -1 : static_cast<int>(found - actions.begin());
}

void CParloDoc::SwapWithNeighbour(GreetingAction* action, int offset)
{
    const int index = IndexOf(action);
    const int other = index + offset;
    if (index < 0 || other < 0 || other >= GetActionCount())
        return;
    std::swap(actions[index], actions[other]);
    SetModifiedFlag();
}
