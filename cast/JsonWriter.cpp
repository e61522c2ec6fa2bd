#include "cast/JsonWriter.h"
#include <cstdio>

void JsonWriter::Open(char bracket)
{
    BeforeValue();
    text_ += bracket;
    hasItems_.push_back(false);
}

void JsonWriter::Close(char bracket)
{
    hasItems_.pop_back();
    text_ += bracket;
}

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasItems_.empty()) {
        if (hasItems_.back())
            text_ += ',';
        hasItems_.back() = true;
    }
}

void JsonWriter::Key(const std::string& name)
{
    BeforeValue();
    Quoted(name);
    text_ += ':';
    afterKey_ = true;
}

void JsonWriter::String(const std::string& value)
{
    BeforeValue();
    Quoted(value);
}

void JsonWriter::Number(int64_t value)
{
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Decimal(double value, int places)
{
    BeforeValue();
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", places, value);
    std::string number = digits;
    if (number.find('.') != std::string::npos) {
        number.erase(number.find_last_not_of('0') + 1);
        if (number.back() == '.')
            number.pop_back();
    }
    text_ += number == "-0" ? "0" : number;
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    text_ += "null";
}

// Control characters and bytes that are no part of a UTF-8 sequence are written as
// \u escapes (a stray byte as the Latin-1 character of its value).
void JsonWriter::Quoted(const std::string& value)
{
    text_ += '"';
    for (size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        for (size_t k = 1; k < length; ++k)
            if (i + k >= value.size() || (static_cast<unsigned char>(value[i + k]) & 0xC0) != 0x80)
                length = 0;
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += char(c);
        } else if (c < 0x20 || length == 0) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            text_ += escape;
        } else {
            text_.append(value, i, length);
            i += length - 1;
        }
    }
    text_ += '"';
}
