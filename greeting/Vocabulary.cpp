#include "greeting/Vocabulary.h"
#include "greeting/CommandTable.h"
#include <windows.h>

std::vector<std::string> CommandNames;
std::vector<std::string> CharacterNames;
std::vector<std::string> PositionNames;
int ScreenWidth = 0;
int ScreenHeight = 0;

void FillVocabulary()
{
    ScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    CommandNames.clear();
    for (const CommandInfo& command : CommandTable)
        CommandNames.push_back(command.name);
    CharacterNames = { "Tolvan", "Mirelle", "Grumbold", "Merlin", "Peedy",
                       "Genie", "Robby", "Yulebard", "Crookbeak" };
    PositionNames = { "Top Left", "Top Center", "Top Right",
                      "Middle Left", "Center", "Middle Right",
                      "Bottom Left", "Bottom Center", "Bottom Right" };
}
