#pragma once
#include <string>
#include <vector>

// Where the installer puts things in the prefix the test runs in, and its silent runs.

// A file beside the test program (the build puts the installer and the shipped files there).
std::string BesideTest(const std::string& name);
// The installer's default folder, C:\Program Files\Parlacard.
std::string DefaultInstallFolder();
// The system's character folder, C:\windows\MSAgent\Chars.
std::string CharacterFolder();
// The Start menu folder of the installation, for all users.
std::string StartMenuFolder();
// The nine characters the installer brings, by name.
const std::vector<std::string>& BundledCharacters();

// Runs the installer beside the test silently (into the folder, when one is given) or
// the installed uninstaller, and waits for it to end; the exit code, ~0 on failure.
unsigned long InstallSilently(const std::string& folder = std::string());
unsigned long UninstallSilently(const std::string& folder);

bool PathExists(const std::string& path);
