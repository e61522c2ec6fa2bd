#pragma once
#include "greeting/CsvRecord.h"
#include <string>
#include <string_view>

// One step of a greeting: a character and what it does. On its line the fields stand
// as character, command, argument.
class GreetingAction : public CsvRecord {
public:
    GreetingAction() = default;
    GreetingAction(const std::string& character, const std::string& command,
                   const std::string& argument);
    // The fields decoded from a line of a file; the line itself is not kept.
    explicit GreetingAction(std::string_view encodedLine);
    virtual ~GreetingAction() = default;

    bool Parse() override;
    bool Format() override;

    const std::string& GetCharacter() const { return character; }
    void SetCharacter(const std::string& value) { character = value; }
    const std::string& GetCommand() const { return command; }
    void SetCommand(const std::string& value) { command = value; }
    const std::string& GetArgument() const { return argument; }
    void SetArgument(const std::string& value) { argument = value; }

    // The text the action list shows for this action.
    std::string GetDescription() const;

private:
    std::string command;
    std::string argument;
    std::string character;
};
