#include "service/mail/MailText.h"
#include <algorithm>

namespace {

// What 0x80 to 0x9F stand for in Windows-1252; 0 where the code page leaves a gap.
const unsigned short Upper128[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsPlainAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// Encoded words of at most 75 characters, split between whole UTF-8 characters.
std::string EncodedWords(const std::string& text)
{
    const size_t maxBytes = 45;   // 60 base64 characters, plus the word's frame
    std::string words;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.size(), start + maxBytes);
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        words += (words.empty() ? "" : "\r\n ") + std::string("=?UTF-8?B?") + Base64(text.substr(start, end - start)) +
                 "?=";
        start = end;
    }
    return words;
}

} // namespace

std::string Utf8FromWindows1252(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const unsigned byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0)
            AppendUtf8(out, Upper128[byte - 0x80] ? Upper128[byte - 0x80] : 0xFFFD);
        else
            AppendUtf8(out, byte);
    }
    return out;
}

std::string OneLine(const std::string& text)
{
    std::string line = text;
    std::replace_if(line.begin(), line.end(), [](char c) { return (c >= 0 && c < 0x20) || c == 0x7F; }, ' ');
    return line;
}

std::string HeaderPhrase(const std::string& name)
{
    const std::string line = OneLine(name);
    if (!IsPlainAscii(line))
        return EncodedWords(line);
    std::string quoted = "\"";
    for (char c : line) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string HeaderText(const std::string& text)
{
    const std::string line = OneLine(text);
    // An ASCII text that looks like an encoded word is encoded too, so it reads as written.
    return IsPlainAscii(line) && line.find("=?") == std::string::npos && line.size() < 900 ? line : EncodedWords(line);
}

std::string HtmlEscape(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string QuotedPrintable(const std::string& text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    size_t lineLength = 0;
    const auto put = [&](const std::string& piece) {
        if (lineLength + piece.size() > 75) {
            out += "=\r\n";
            lineLength = 0;
        }
        out += piece;
        lineLength += piece.size();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            out += "\r\n";
            lineLength = 0;
        } else if (c == '\r') {
            continue;
        } else if (c == '=' || c >= 0x7F || (c < 0x20 && c != '\t') ||
                   ((c == ' ' || c == '\t') && (i + 1 == text.size() || text[i + 1] == '\n' || text[i + 1] == '\r')) ||
                   (c == '.' && lineLength == 0)) {
            // A blank at a line's end would be lost on the way, and a dot at its start
            // could end the SMTP data.
            put(std::string("=") + hex[c >> 4] + hex[c & 15]);
        } else {
            put(std::string(1, static_cast<char>(c)));
        }
    }
    return out;
}

std::string Base64(const std::string& bytes)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += { digits[v >> 18], digits[(v >> 12) & 63], digits[(v >> 6) & 63], digits[v & 63] };
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += { digits[v >> 18], digits[(v >> 12) & 63], '=', '=' };
    } else if (i + 2 == bytes.size()) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += { digits[v >> 18], digits[(v >> 12) & 63], digits[(v >> 6) & 63], '=' };
    }
    return out;
}
