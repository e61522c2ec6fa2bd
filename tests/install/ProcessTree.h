#pragma once
#include <windows.h>
#include <string>

// Starts a program and waits until it and every process it started have ended: the
// uninstaller runs on from a copy of itself after the first process is gone. The exit
// code is the first process's; a start that fails or a tree still running after the
// timeout fails the test and gives ~0.
DWORD RunProcessTree(const std::string& commandLine, DWORD timeoutMs);
