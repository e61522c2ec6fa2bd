#include "framework/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const std::string& param, bool isFlag, bool)
{
    if (isFlag || m_nShellCommand == FileOpen)
        return;
    m_nShellCommand = FileOpen;
    m_strFileName = param;
}

std::string::size_type SplitFirstArgument(const std::string& line, std::string::size_type pos,
                                          std::string& argument)
{
    argument.clear();
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size())
        return std::string::npos;
    bool quoted = false;
    while (pos < line.size()) {
        const char c = line[pos];
        if (!quoted && (c == ' ' || c == '\t'))
            break;
        if (c == '\\') {
            std::string::size_type slashes = 0;
            while (pos < line.size() && line[pos] == '\\') {
                ++slashes;
                ++pos;
            }
            if (pos < line.size() && line[pos] == '"') {
                argument.append(slashes / 2, '\\');
                if (slashes % 2) {
                    argument += '"';
                    ++pos;
                }
            } else {
                argument.append(slashes, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
                argument += '"';
                pos += 2;
                continue;
            }
            quoted = !quoted;
            ++pos;
            continue;
        }
        argument += c;
        ++pos;
    }
    return pos;
}
