#pragma once
#include <string>
#include <string_view>

// Decodes the field of the line at position and moves past it and its comma.
std::string DecodeCsvField(std::string_view line, size_t& position);

// A record that travels as one line of comma-separated fields. Derived records decode
// the line into their own fields in Parse and encode them back in Format.
class CsvRecord {
public:
    virtual bool Parse();
    virtual bool Format();

    // Replaces the line and decodes it.
    bool SetLine(const std::string& text);
    // Encodes the fields and returns the line.
    const std::string& GetLine();

    void ResetPosition();
    // Decodes the field at the current position and moves past it and its comma.
    std::string ReadField();
    // Encodes a field and appends it, after a comma unless it is the line's first.
    void AddField(const std::string& text);

protected:
    // Records are deleted through their own class, never through this base.
    ~CsvRecord() = default;

    void ClearLine();

    std::string line;
    int position = 0;

private:
    bool fieldAdded_ = false;
};
