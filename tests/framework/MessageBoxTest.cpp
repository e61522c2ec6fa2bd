#include "framework/MessageBox.h"
#include "support/MessageBoxAnswerer.h"
#include <algorithm>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// A modeless dialog captioned like the boxes below, counting the commands it receives.
class CountingDialog {
public:
    CountingDialog()
    {
        // Templates in memory must start on a DWORD boundary.
        struct alignas(DWORD) {
            DLGTEMPLATE header;
            WORD menu, windowClass, title[10];
        } layout{};
        layout.header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
        layout.header.cx = 120;
        layout.header.cy = 60;
        const char caption[] = "Parlacard";
        for (size_t i = 0; i < sizeof(caption); ++i)
            layout.title[i] = caption[i];
        window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &layout.header, nullptr,
                                            &CountingDialog::Proc, reinterpret_cast<LPARAM>(this));
    }
    ~CountingDialog() { DestroyWindow(window); }

    HWND window;
    int commands = 0;

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
    {
        if (message == WM_INITDIALOG)
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        else if (message == WM_COMMAND)
            ++reinterpret_cast<CountingDialog*>(GetWindowLongPtrA(dialog, DWLP_USER))->commands;
        return FALSE;
    }
};

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

TEST(MessageBoxAnswerer, RecordsEachBoxAndAnswersWithTheQueuedButtons)
{
    MessageBoxAnswerer answerer;
    answerer.Answer(IDNO);
    answerer.Answer(IDCANCEL);

    EXPECT_EQ(IDNO, ShowMessageBox(nullptr, "Save changes to Birthday.pcg?", "Parlacard",
                                   MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(IDCANCEL, ShowMessageBox(nullptr, "Retry the upload?", "Sending", MB_OKCANCEL));
    EXPECT_EQ(IDOK, ShowMessageBox(nullptr, "Line one\r\nLine & two", "Parlacard", MB_OK | MB_ICONSTOP));

    const std::vector<RecordedMessageBox>& boxes = answerer.Boxes();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ("Save changes to Birthday.pcg?", boxes[0].text);
    EXPECT_EQ("Parlacard", boxes[0].caption);
    EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONQUESTION), boxes[0].flags);
    EXPECT_EQ(nullptr, boxes[0].owner);
    EXPECT_EQ("Retry the upload?", boxes[1].text);
    EXPECT_EQ("Sending", boxes[1].caption);
    EXPECT_EQ(UINT(MB_OKCANCEL), boxes[1].flags);
    EXPECT_EQ("Line one\r\nLine & two", boxes[2].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), boxes[2].flags);
}

TEST(MessageBoxAnswerer, LeavesOtherDialogsAloneAndAnswersTheBoxTheyOwn)
{
    MessageBoxAnswerer answerer;
    CountingDialog dialog;
    ASSERT_NE(nullptr, dialog.window);
    PumpMessages();

    EXPECT_EQ(IDOK, ShowMessageBox(dialog.window, "Greeting sent.", "Parlacard", MB_OK));
    PumpMessages();

    ASSERT_EQ(1u, answerer.Boxes().size());
    EXPECT_EQ(dialog.window, answerer.Boxes()[0].owner);
    EXPECT_EQ("Greeting sent.", answerer.Boxes()[0].text);
    EXPECT_TRUE(IsWindow(dialog.window));
    EXPECT_EQ(0, dialog.commands);
}

TEST(MessageBoxAnswerer, ReportsAButtonTheBoxLacksAndStillClosesIt)
{
    int result = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxAnswerer answerer;
            answerer.Answer(IDYES);
            result = ShowMessageBox(nullptr, "Could not launch browser", "Parlacard", MB_OK);
        },
        "has no button");
    EXPECT_EQ(IDOK, result);
}

TEST(MessageBoxAnswerer, ReportsAnswersNoBoxTook)
{
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxAnswerer answerer;
            answerer.Answer(IDYES);
        },
        "never used");
}

// A reply of 300 characters without a blank once made a box wider than a 1024-pixel
// screen, its caption and first line off the screen.
TEST(ShowMessageBox, BreaksLongUnbrokenTextSoThatTheBoxFitsASmallScreen)
{
    MessageBoxAnswerer answerer;
    const std::string reply(300, 'W');
    const std::string words = "Short words stay as they are, and so does a path like C:\\Temp\\Birthday.pcg.";
    ShowMessageBox(nullptr, "The response from the server was:\n" + reply + "\n" + words, "Parlacard",
                   MB_OK | MB_ICONERROR);

    ASSERT_EQ(1u, answerer.Boxes().size());
    const RecordedMessageBox& box = answerer.Boxes()[0];
    EXPECT_LE(box.window.right - box.window.left, 1024);
    std::string unbroken;
    size_t longestRun = 0;
    size_t run = 0;
    for (char c : box.text) {
        run = c == ' ' || c == '\n' || c == '\r' ? 0 : run + 1;
        longestRun = std::max(longestRun, run);
        if (c != '\n' && c != '\r')
            unbroken += c;
    }
    EXPECT_LE(longestRun, 80u) << box.text;
    // Only line breaks were added.
    EXPECT_EQ("The response from the server was:" + reply + words, unbroken);
    EXPECT_NE(std::string::npos, box.text.find("\n" + words));
}
