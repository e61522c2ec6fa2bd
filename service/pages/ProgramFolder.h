#pragma once
#include <string>

// The folder the running program was started from, where the files it serves lie
// beside it; empty when the system does not say.
std::string ProgramFolder();
