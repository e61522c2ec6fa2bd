#pragma once
#include <windows.h>
#include <string>
#include "framework/FrameworkIds.h"

// A string of the program's string table, any length; empty when the id is missing.
std::string LoadResourceString(UINT id);

// The n-th part of a string whose parts are separated by line feeds (a document string).
std::string GetStringPart(const std::string& text, int index);
