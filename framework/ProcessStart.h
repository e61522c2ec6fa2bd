#pragma once
#include <string>

// Every program the application starts goes through here. The command line names the
// program without a path, so the system's search order applies: the running program's
// folder first, then the current folder, the system folders and the search path.
// The new process runs on its own; false when it could not be created.
bool StartProcess(const std::string& commandLine);
