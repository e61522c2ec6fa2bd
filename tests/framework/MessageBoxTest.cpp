#include "framework/MessageBox.h"
#include "support/MessageBoxAnswerer.h"
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
