#pragma once
#include <string>

// What the command line asks for: a new document, or opening the file it names.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;

    virtual ~CCommandLineInfo() = default;
    // Called for each argument; flags start with '/' or '-' and are not files.
    virtual void ParseParam(const std::string& param, bool isFlag, bool isLast);
};

// Splits a Windows command line (without the program name) into arguments the way the
// C runtime does: blanks separate, double quotes group, backslashes escape quotes.
std::string::size_type SplitFirstArgument(const std::string& line, std::string::size_type start,
                                          std::string& argument);
