#include "greeting/GreetingAction.h"
#include "greeting/CommandTable.h"

GreetingAction::GreetingAction(const std::string& character, const std::string& command,
                               const std::string& argument)
    : command(command), argument(argument), character(character)
{
}

GreetingAction::GreetingAction(std::string_view encodedLine) : encodedLine_(encodedLine) {}

GreetingAction::GreetingAction(const GreetingAction& other)
    : CsvRecord(other), command(other.GetCommand()), argument(other.GetArgument()), character(other.GetCharacter())
{
}

GreetingAction& GreetingAction::operator=(const GreetingAction& other)
{
    if (this != &other) {
        CsvRecord::operator=(other);
        encodedLine_ = std::string_view();
        command = other.GetCommand();
        argument = other.GetArgument();
        character = other.GetCharacter();
    }
    return *this;
}

bool GreetingAction::Parse()
{
    encodedLine_ = std::string_view();
    ResetPosition();
    character = ReadField();
    command = ReadField();
    argument = ReadField();
    return true;
}

bool GreetingAction::Format()
{
    Decode();
    ClearLine();
    AddField(character);
    AddField(command);
    AddField(argument);
    return true;
}

std::string GreetingAction::GetDescription() const
{
    Decode();
    const CommandInfo* info = FindCommand(command);
    return info ? info->describe(character, argument) : "Undefined Action.";
}

void GreetingAction::DecodeLine() const
{
    const std::string_view line = encodedLine_;
    encodedLine_ = std::string_view();
    size_t at = 0;
    character = DecodeCsvField(line, at);
    command = DecodeCsvField(line, at);
    argument = DecodeCsvField(line, at);
}
