#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes JSON text as it goes: objects and arrays are opened and closed in order, and
// commas and key quotes come by themselves. Strings are UTF-8; they are escaped so that
// any byte sequence yields valid JSON text.
class JsonWriter {
public:
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }

    // The key of the next value inside an object.
    void Key(const std::string& name);

    void String(const std::string& value);
    void Number(int64_t value);
    // A finite number with at most `places` decimals, no trailing zeros (1, 0.975).
    void Decimal(double value, int places);
    void Bool(bool value);
    void Null();

    const std::string& Text() const { return text_; }

private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();
    void Quoted(const std::string& value);

    std::string text_;
    std::vector<bool> hasItems_;  // one per open object or array
    bool afterKey_ = false;
};
