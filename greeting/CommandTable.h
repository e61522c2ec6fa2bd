#pragma once
#include <windows.h>
#include <string>

// Everything the program knows of one of the five commands, in one place: the codec's
// vocabulary, the action list's rows and the action editor all read it from here.
struct CommandInfo {
    const char* name;   // as greeting files hold it
    int editorRadio;    // the action editor's radio button
    UINT rowBitmap;     // the picture of its rows in the action list...
    int rowImage;       // ...at this place in the list's image list
    // The row's text for an action of the command.
    std::string (*describe)(const std::string& character, const std::string& argument);
};

// The commands in the vocabulary's order.
extern const CommandInfo CommandTable[5];

// The command of that exact name; null for any other.
const CommandInfo* FindCommand(const std::string& name);
