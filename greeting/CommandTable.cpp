#include "greeting/CommandTable.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"

namespace {

// Upper case by the rules of the ANSI code page, double-byte characters included.
std::string ToUpperAnsi(std::string text)
{
    if (!text.empty())
        ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The doubled blanks of Show and Hide are what users have always seen in the list.
std::string DescribeShow(const std::string& character, const std::string& argument)
{
    return character + " shows up " + " (" + argument + ")";
}

std::string DescribeHide(const std::string& character, const std::string& argument)
{
    return character + " hides " + " (" + argument + ")";
}

std::string DescribeSay(const std::string& character, const std::string& argument)
{
    return character + " says: \"" + argument + "\"";
}

std::string DescribeAnimate(const std::string& character, const std::string& argument)
{
    return character + " performs the " + ToUpperAnsi(argument) + " animation";
}

std::string DescribeMove(const std::string& character, const std::string& argument)
{
    return character + " moves to " + ToUpperAnsi(argument);
}

} // namespace

const CommandInfo CommandTable[5] = {
    { CommandShow, IDC_SHOW, IDB_ACTION_SHOW, 0, DescribeShow },
    { CommandHide, IDC_HIDE, IDB_ACTION_HIDE, 1, DescribeHide },
    { CommandSay, IDC_SAY, IDB_ACTION_SAY, 2, DescribeSay },
    { CommandAnimate, IDC_ANIMATE, IDB_ACTION_ANIMATE, 4, DescribeAnimate },
    { CommandMove, IDC_MOVE, IDB_ACTION_MOVE, 3, DescribeMove },
};

const CommandInfo* FindCommand(const std::string& name)
{
    for (const CommandInfo& command : CommandTable) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}
