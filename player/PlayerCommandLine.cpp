#include "player/PlayerCommandLine.h"
#include <climits>

namespace {

const char Usage[] = "Usage: DODevavi.EXE <greeting file> *<first action, counting from 0>";

const char Blanks[] = " \t";

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(Blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// A path typed by hand may come quoted.
std::string Unquote(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

// Decimal digits only, and no more than an int holds.
bool ParseIndex(const std::string& text, int& index)
{
    if (text.empty())
        return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return false;
    }
    index = static_cast<int>(value);
    return true;
}

} // namespace

bool PlayerCommandLine::Parse(const std::string& arguments)
{
    path_.clear();
    startIndex_ = 0;
    error_.clear();
    const size_t star = arguments.rfind('*');
    if (star != std::string::npos) {
        const std::string number = Trim(arguments.substr(star + 1));
        if (!ParseIndex(number, startIndex_)) {
            startIndex_ = 0;
            error_ = "\"*" + number + "\" does not name an action to start from.\n\n" + Usage;
            return false;
        }
    }
    path_ = Unquote(Trim(arguments.substr(0, star)));
    if (path_.empty()) {
        error_ = std::string("No greeting file was named.\n\n") + Usage;
        return false;
    }
    return true;
}
