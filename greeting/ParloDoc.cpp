#include "greeting/ParloDoc.h"
#include "framework/MessageBox.h"
#include "greeting/NewGreetingChoice.h"
#include "settings/AppSettings.h"
#include <windows.h>
#include <algorithm>
#include <climits>
#include <string_view>
#include <utility>

namespace {

const char FileHeader[] = "Parlacard File Version : ";
const int FileVersion = 1;

// No greeting comes near these; beyond them a file would only exhaust the memory.
const ULONGLONG MaxFileSize = 64 * 1024 * 1024;
const size_t MaxActions = 1000000;

const char WrongFormatMessage[] = "Wrong file format.\nThis file is not a valid Parlacard file.";
const char NewerVersionMessage[] = "A newer version of the application wrote the parlacard file.";
const char SaveFailedMessage[] = "An error occurred saving the parlacard file.";

// A failed read or write as the user is told of it.
bool Report(GreetingFileResult result)
{
    const std::string message = GreetingFileMessage(result);
    if (!message.empty())
        AfxMessageBox(message, MB_ICONERROR | MB_SETFOREGROUND);
    return result == GreetingFileResult::Done;
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

GreetingSender CurrentSender()
{
    return { GetSettings().UserName, GetSettings().UserEmail };
}

std::string GreetingFileMessage(GreetingFileResult result)
{
    switch (result) {
    case GreetingFileResult::WrongFormat: return WrongFormatMessage;
    case GreetingFileResult::NewerVersion: return NewerVersionMessage;
    case GreetingFileResult::NotWritten: return SaveFailedMessage;
    case GreetingFileResult::Done:
    case GreetingFileResult::NotOpened: break;
    }
    return std::string();
}

GreetingFileResult WriteGreetingText(const std::string& path, const std::string& text)
{
    const std::string tempPath = CreateTempFileBeside(path);
    if (tempPath.empty())
        return GreetingFileResult::NotWritten;
    CsvRecordFile file;
    bool written = false;
    try {
        if (file.Open(tempPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeText)) {
            file.WriteString(text);
            // On the disk before it takes the old file's place.
            file.Flush();
            file.Close();
            written = ::MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }
    } catch (const CFileException&) {
        file.Abort();
    }
    if (!written)
        ::DeleteFileA(tempPath.c_str());
    return written ? GreetingFileResult::Done : GreetingFileResult::NotWritten;
}

bool CParloDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    NewGreetingChoice choice;
    choice.senderName = GetSettings().UserName;
    if (!RunNewGreetingDialog(choice))
        return true;
    ClearActions();
    const bool loaded = LoadTemplate(choice.greetingType);
    recipientName = choice.recipientName;
    senderGender = choice.gender;
    recipientAddresses.clear();
    if (loaded)
        PersonaliseGreeting();
    UpdateAllViews(nullptr);
    return true;
}

bool CParloDoc::OnOpenDocument(const std::string& path)
{
    // The framework's initial update of the views follows every open: one refill, not two.
    return Report(LoadGreetingFile(path));
}

bool CParloDoc::OnSaveDocument(const std::string& path)
{
    if (!Report(WriteGreetingFile(path)))
        return false;
    SetModifiedFlag(false);
    return true;
}

int CParloDoc::GetActionCount() const
{
    return static_cast<int>(actions.Size());
}

GreetingAction* CParloDoc::GetAction(int index) const
{
    if (index < 0 || index >= GetActionCount())
        return nullptr;
    return actions.At(index);
}

void CParloDoc::InsertAction(GreetingAction* action, int index)
{
    index = std::max(0, std::min(index, GetActionCount()));
    actions.Insert(index, action);
    SetModifiedFlag();
}

void CParloDoc::RemoveAction(GreetingAction* action)
{
    const int index = actions.IndexOf(action);
    if (index < 0)
        return;
    actions.Erase(index);
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
    actions.Clear();
    previewed = false;
}

std::string CParloDoc::BuildGreetingText(const GreetingSender& sender, const std::string& terminator) const
{
    std::string text;
    const auto appendLine = [&](const std::string& line) {
        text += line;
        text += terminator;
    };
    appendLine(FileHeader + std::to_string(FileVersion));
    appendLine(recipientName);
    appendLine(recipientAddresses);
    appendLine(sender.name);
    appendLine(sender.email);
    appendLine(std::string());
    for (size_t index = 0; index < actions.Size(); ++index) {
        actions.AppendLineTo(index, text);
        text += terminator;
    }
    return text;
}

GreetingFileResult CParloDoc::WriteGreetingFile(const std::string& path) const
{
    return WriteGreetingText(path, BuildGreetingText(CurrentSender(), "\n"));
}

GreetingFileResult CParloDoc::ReadGreetingFile(const std::string& path)
{
    const GreetingFileResult result = LoadGreetingFile(path);
    if (result == GreetingFileResult::Done)
        UpdateAllViews(nullptr);
    return result;
}

GreetingFileResult CParloDoc::LoadGreetingFile(const std::string& path)
{
    ActionStore loaded;
    try {
        if (!recordFile.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
            return GreetingFileResult::NotOpened;
        if (recordFile.GetLength() > MaxFileSize) {
            recordFile.Close();
            return GreetingFileResult::WrongFormat;
        }
        loaded.ReadText(recordFile);
        recordFile.Close();
    } catch (const CFileException&) {
        recordFile.Abort();
        return GreetingFileResult::NotOpened;
    }
    const GreetingFileResult result = ReadText(loaded);
    if (result != GreetingFileResult::Done)
        return result;
    ClearActions();
    actions = std::move(loaded);
    SetModifiedFlag(false);
    return result;
}

// The recipient lines are taken as soon as they are read; the actions only go to the
// caller's store, which holds the text.
GreetingFileResult CParloDoc::ReadText(ActionStore& loaded)
{
    const std::string_view text = loaded.Text();
    size_t at = 0;
    std::string_view line;
    const size_t headerLength = sizeof FileHeader - 1;
    if (!CStdioFile::NextLine(text, at, line) || line.compare(0, headerLength, FileHeader) != 0)
        return GreetingFileResult::WrongFormat;
    if (ParseVersion(std::string(line.substr(headerLength))) > FileVersion)
        return GreetingFileResult::NewerVersion;

    CStdioFile::NextLine(text, at, line);
    recipientName = line;
    CStdioFile::NextLine(text, at, line);
    recipientAddresses = line;
    // The sender's name and address are always the current settings; the blank line ends the head.
    for (int skipped = 0; skipped < 3; ++skipped)
        CStdioFile::NextLine(text, at, line);

    return loaded.AppendLines(at, MaxActions) ? GreetingFileResult::Done : GreetingFileResult::WrongFormat;
}

void CParloDoc::SwapWithNeighbour(GreetingAction* action, int offset)
{
    const int index = actions.IndexOf(action);
    const int other = index + offset;
    if (index < 0 || other < 0 || other >= GetActionCount())
        return;
    actions.Swap(index, other);
    SetModifiedFlag();
}
