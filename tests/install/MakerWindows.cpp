#include "MakerWindows.h"
#include <gtest/gtest.h>

namespace Maker {

void ChooseBirthday(const ProgramWindows& windows, HWND dialog, const std::string& recipient)
{
    ProgramWindows::PressKeys(ProgramWindows::Control(dialog, GreetingTypes), "B");
    HWND name = ProgramWindows::Control(dialog, RecipientEdit);
    ASSERT_TRUE(ProgramWindows::WaitUntil([name] { return IsWindowEnabled(name) != FALSE; }))
        << "choosing Birthday did not enable the recipient's name";
    ProgramWindows::Type(dialog, RecipientEdit, recipient);
    ProgramWindows::Click(dialog, IDOK);
    windows.WaitUntilClosed(dialog);
}

void AddAction(const ProgramWindows& windows, HWND view, int commandRadio, const std::string& said)
{
    ProgramWindows::Click(view, AddButton);
    HWND editor = windows.WaitForDialog(ActionCaption);
    ASSERT_NE(nullptr, editor);
    ProgramWindows::Click(editor, commandRadio);
    if (commandRadio == SayRadio)
        ProgramWindows::Type(editor, SpeechEdit, said);
    ProgramWindows::Click(editor, IDOK);
    windows.WaitUntilClosed(editor);
}

} // namespace Maker
