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
    // An action read from a file keeps its line undecoded until a field is first asked for:
    // a large greeting opens without decoding the rows nobody looks at. The line's bytes
    // must live as long as the action.
    explicit GreetingAction(std::string_view encodedLine);
    // A copy is decoded, so that it does not depend on the original's bytes.
    GreetingAction(const GreetingAction& other);
    GreetingAction& operator=(const GreetingAction& other);
    virtual ~GreetingAction() = default;

    bool Parse() override;
    bool Format() override;

    const std::string& GetCharacter() const { Decode(); return character; }
    void SetCharacter(const std::string& value) { Decode(); character = value; }
    const std::string& GetCommand() const { Decode(); return command; }
    void SetCommand(const std::string& value) { Decode(); command = value; }
    const std::string& GetArgument() const { Decode(); return argument; }
    void SetArgument(const std::string& value) { Decode(); argument = value; }

    // The text the action list shows for this action.
    std::string GetDescription() const;

private:
    void Decode() const
    {
        if (!encodedLine_.empty())
            DecodeLine();
    }
    void DecodeLine() const;

    // Decoded on first use; an empty line decodes to empty fields, as they start.
    mutable std::string_view encodedLine_;
    mutable std::string command;
    mutable std::string argument;
    mutable std::string character;
};
