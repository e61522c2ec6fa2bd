#pragma once
#include <string>

// What the player is asked to do: "<greeting file> *<first action>". The maker writes
// the path without quotation marks, so a path with blanks arrives as several words:
// everything before the last "*" is the path, and the number after it (counting from 0)
// is the first action. Without a "*" the greeting plays from its first action.
class PlayerCommandLine {
public:
    // False, with the reason in GetError, when no file is named or the start is no number.
    bool Parse(const std::string& arguments);

    const std::string& GetPath() const { return path_; }
    int GetStartIndex() const { return startIndex_; }
    const std::string& GetError() const { return error_; }

private:
    std::string path_;
    int startIndex_ = 0;
    std::string error_;
};
