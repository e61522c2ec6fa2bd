#include "greeting/GreetingAction.h"
#include "greeting/CommandTable.h"

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
    const CommandInfo* info = FindCommand(command);
    return info ? info->describe(character, argument) : "Undefined Action.";
}
