#pragma once
#include <string>

// The file-system path of the user's Desktop folder, without a trailing backslash; empty
// when the shell cannot name one.
std::string DesktopFolder();
