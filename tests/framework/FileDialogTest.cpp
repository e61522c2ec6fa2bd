#include "framework/WinApp.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <gtest/gtest.h>

namespace {

// The file name box of the explorer-style dialog: a combo box, else an edit.
const int FileNameCombo = 0x47C;
const int FileNameEdit = 0x480;

// Answers the common file dialog that the calling thread opens next: notes the folder it
// shows, then chooses the file given (a full path) or cancels.
class FileDialogAnswer {
public:
    explicit FileDialogAnswer(const std::string& choose = std::string()) : choose_(choose)
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &FileDialogAnswer::Poll);
    }
    ~FileDialogAnswer()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

    const std::string& Folder() const { return folder_; }
    bool Answered() const { return answered_; }

private:
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
    {
        char name[16] = "";
        if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) && lstrcmpA(name, "#32770") == 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD)
    {
        FileDialogAnswer* self = current_;
        HWND dialog = nullptr;
        if (!self || self->answered_)
            return;
        EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog)
            return;
        self->answered_ = true;
        char folder[MAX_PATH] = "";
        if (SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0)
            self->folder_ = folder;
        if (self->choose_.empty()) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND name = GetDlgItem(dialog, FileNameCombo) ? GetDlgItem(dialog, FileNameCombo) : GetDlgItem(dialog, FileNameEdit);
        SetWindowTextA(name, self->choose_.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }

    static FileDialogAnswer* current_;
    std::string choose_;
    std::string folder_;
    bool answered_ = false;
    UINT_PTR timer_ = 0;
};

FileDialogAnswer* FileDialogAnswer::current_ = nullptr;

std::string DocumentsFolder()
{
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)));
    return path;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

} // namespace

// The program's own folder is where the system starts them, and a user cannot write there.
// The folder chosen is remembered without being kept in use: the temporary one goes at the end.
TEST(FileDialog, StartsInTheDocumentsAndThenWhereTheLastFileWasChosen)
{
    CWinApp app;
    TempFolder elsewhere;
    ASSERT_FALSE(SameFolder(DocumentsFolder(), elsewhere.Path()));

    std::string path = "Greeting.pcg";
    {
        FileDialogAnswer cancel;
        EXPECT_FALSE(app.DoPromptFileName(path, false, nullptr));
        ASSERT_TRUE(cancel.Answered());
        EXPECT_TRUE(SameFolder(DocumentsFolder(), cancel.Folder())) << "Save As started in " << cancel.Folder();
    }
    EXPECT_EQ("Greeting.pcg", path) << "a cancelled dialog changed the name";
    {
        FileDialogAnswer open;
        EXPECT_FALSE(app.DoPromptFileName(path, true, nullptr));
        EXPECT_TRUE(SameFolder(DocumentsFolder(), open.Folder())) << "Open started in " << open.Folder();
    }
    {
        FileDialogAnswer save(elsewhere.File("Saved.pcg"));
        ASSERT_TRUE(app.DoPromptFileName(path, false, nullptr));
        EXPECT_TRUE(SameFolder(elsewhere.File("Saved.pcg"), path)) << path;
    }
    {
        std::string next = "Another.pcg";
        FileDialogAnswer open;
        EXPECT_FALSE(app.DoPromptFileName(next, true, nullptr));
        EXPECT_TRUE(SameFolder(elsewhere.Path(), open.Folder())) << "Open after a save started in " << open.Folder();
    }
}
