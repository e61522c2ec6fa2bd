#include "greeting/GreetingAction.h"
#include "greeting/Vocabulary.h"
#include <windows.h>

namespace {

// Upper case by the rules of the ANSI code page, double-byte characters included.
std::string ToUpperAnsi(std::string text)
{
    if (!text.empty())
        ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

GreetingAction::GreetingAction(const std::string& character, const std::string& command,
                               const std::string& argument)
    : command(command), argument(argument), character(character)
{
}

bool GreetingAction::Parse()
{
    ResetPosition();
    character = ReadField();
    command = ReadField();
    argument = ReadField();
    return true;
}

bool GreetingAction::Format()
{
    ClearLine();
    AddField(character);
    AddField(command);
    AddField(argument);
    return true;
}

std::string GreetingAction::GetDescription() const
{
    if (command == CommandShow)
        return character + " shows up " + " (" + argument + ")";
    if (command == CommandHide)
        return character + " hides " + " (" + argument + ")";
    if (command == CommandSay)
        return character + " says: \"" + argument + "\"";
    if (command == CommandAnimate)
        return character + " performs the " + ToUpperAnsi(argument) + " animation";
    if (command == CommandMove)
        return character + " moves to " + ToUpperAnsi(argument);
    return "Undefined Action.";
}
