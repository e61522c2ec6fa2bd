#include "greeting/GreetingAction.h"
#include "greeting/CommandTable.h"

GreetingAction::GreetingAction(const std::string& character, const std::string& command,
                               const std::string& argument)
    : command(command), argument(argument), character(character)
{
}

GreetingAction::GreetingAction(std::string_view encodedLine)
{
    size_t at = 0;
    character = DecodeCsvField(encodedLine, at);
    command = DecodeCsvField(encodedLine, at);
    argument = DecodeCsvField(encodedLine, at);
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
