#include "update/NewsDocument.h"
#include "framework/TextUtil.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace {

// The rich edit control fails on documents nested some fifty levels deep; real news
// stays within a handful.
const int MaxNesting = 16;

const char* const RefusedWords[] = { "object", "objdata", "objemb", "objlink", "objautlink", "objsub",
                                     "objpub", "objicemb", "objhtml", "objocx", "field", "fldinst",
                                     "fldrslt", "pict", "shp", "shpinst", "shptxt", "shppict",
                                     "nonshppict", "bin", "do", "result" };

// Destinations whose text is not shown.
const char* const HiddenDestinations[] = { "fonttbl", "colortbl", "stylesheet", "info", "listtable",
                                           "listoverridetable", "rsidtbl", "generator", "header",
                                           "footer", "footnote" };

const char Marker[] = "@@version";

template <size_t N> bool IsOneOf(const std::string& word, const char* const (&list)[N])
{
    return std::find_if(std::begin(list), std::end(list), [&](const char* w) { return word == w; }) != std::end(list);
}

// One token of the document: a group's start or end, a control word, or a character
// shown as text.
struct Token {
    enum Kind { GroupStart, GroupEnd, Word, Text, Ignorable, ParagraphEnd };

    Token(Kind kind, size_t start, size_t end, std::string word = std::string(), char text = 0)
        : kind(kind), start(start), end(end), word(std::move(word)), text(text)
    {
    }

    Kind kind;
    size_t start;
    size_t end;
    std::string word;
    char text;
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the token at position; the caller steps on from its end.
Token ReadToken(const std::string& rtf, size_t position)
{
    const char c = rtf[position];
    if (c == '{')
        return { Token::GroupStart, position, position + 1 };
    if (c == '}')
        return { Token::GroupEnd, position, position + 1 };
    if (c == '\r' || c == '\n')
        return { Token::Ignorable, position, position + 1 };
    if (c != '\\')
        return { Token::Text, position, position + 1, std::string(), c };
    size_t end = position + 1;
    if (end == rtf.size())
        return { Token::Ignorable, position, end };
    const char next = rtf[end];
    if (IsLetter(next)) {
        while (end < rtf.size() && IsLetter(rtf[end]))
            ++end;
        std::string word = rtf.substr(position + 1, end - position - 1);
        if (end < rtf.size() && rtf[end] == '-')
            ++end;
        while (end < rtf.size() && rtf[end] >= '0' && rtf[end] <= '9')
            ++end;
        if (end < rtf.size() && rtf[end] == ' ')
            ++end;
        const Token::Kind kind = word == "par" ? Token::ParagraphEnd : Token::Word;
        return { kind, position, end, word };
    }
    if (next == '\r' || next == '\n')
        return { Token::ParagraphEnd, position, end + 1, "par" };
    if (next == '\'' && end + 2 < rtf.size() && HexValue(rtf[end + 1]) >= 0 && HexValue(rtf[end + 2]) >= 0)
        return { Token::Text, position, end + 3, std::string(),
                 static_cast<char>(HexValue(rtf[end + 1]) * 16 + HexValue(rtf[end + 2])) };
    if (next == '\\' || next == '{' || next == '}')
        return { Token::Text, position, end + 1, std::string(), next };
    if (next == '~')
        return { Token::Text, position, end + 1, std::string(), ' ' };
    // "\*" and the other control symbols.
    return { Token::Word, position, end + 1, std::string(1, next) };
}

// Calls take for each token in the document's order, with whether it lies in a part of
// the document that is shown. False as soon as take does.
bool ForEachToken(const std::string& rtf, const std::function<bool(const Token&, bool shown)>& take)
{
    int depth = 0;
    // The depth of the hidden destination the reader is in, or 0.
    int hiddenDepth = 0;
    bool groupJustStarted = false;
    for (size_t position = 0; position < rtf.size();) {
        const Token token = ReadToken(rtf, position);
        position = token.end;
        if (token.kind == Token::GroupStart) {
            ++depth;
        } else if (token.kind == Token::GroupEnd) {
            if (depth == hiddenDepth)
                hiddenDepth = 0;
            --depth;
        } else if (token.kind == Token::Word && groupJustStarted && hiddenDepth == 0 &&
                   (token.word == "*" || IsOneOf(token.word, HiddenDestinations))) {
            hiddenDepth = depth;
        }
        groupJustStarted = token.kind == Token::GroupStart;
        if (!take(token, hiddenDepth == 0 && depth > 0 && depth <= MaxNesting) || depth < 0)
            return false;
        if (depth > MaxNesting)
            return false;
    }
    return true;
}

// The heading as rich text: CR LF ends a paragraph, anything beyond ASCII goes as a
// hexadecimal escape, and the characters that mean something in rich text are escaped.
std::string HeadingRtf(const std::string& heading)
{
    std::string rtf;
    for (size_t i = 0; i < heading.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(heading[i]);
        if (c == '\r' && i + 1 < heading.size() && heading[i + 1] == '\n') {
            rtf += "\\par\r\n";
            ++i;
        } else if (c == '\\' || c == '{' || c == '}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x80) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\'%02x", c);
            rtf += escaped;
        } else {
            rtf += static_cast<char>(c);
        }
    }
    return rtf;
}

// A paragraph of the shown text: where its first shown character starts in the
// document, where its paragraph end ends, and the text shown.
struct Paragraph {
    size_t start = std::string::npos;
    size_t end = 0;
    std::string text;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

bool IsPlainNews(const std::string& rtf)
{
    return ForEachToken(rtf, [](const Token& token, bool) {
        return token.kind != Token::Word || !IsOneOf(token.word, RefusedWords);
    });
}

std::string PlaceNewsHeadings(const std::string& rtf, const std::string& newChangesHeading,
                              const std::string& oldChangesHeading, const VersionNumber& programVersion)
{
    std::string placed;
    size_t copied = 0;
    bool newPlaced = false;
    bool oldPlaced = false;
    Paragraph paragraph;
    // The marker paragraph gives way to its heading or to nothing; the groups it opens or
    // closes stay, so that the document's structure does.
    const auto finish = [&](size_t end) {
        const size_t marker = Lower(paragraph.text).find(Marker);
        if (paragraph.start != std::string::npos && marker != std::string::npos) {
            const VersionNumber marked(TrimWhiteSpace(paragraph.text.substr(marker + sizeof(Marker) - 1)));
            const bool newer = marked.CompareVersion(programVersion) >= 2;
            bool& done = newer ? newPlaced : oldPlaced;
            placed.append(rtf, copied, paragraph.start - copied);
            if (!done)
                placed += HeadingRtf(newer ? newChangesHeading : oldChangesHeading);
            done = true;
            for (size_t i = paragraph.start; i < end; ++i) {
                if (rtf[i] == '{' || rtf[i] == '}')
                    placed += rtf[i];
            }
            copied = end;
        }
        paragraph = Paragraph();
    };
    ForEachToken(rtf, [&](const Token& token, bool shown) {
        if (!shown)
            return true;
        if (token.kind == Token::Text) {
            if (paragraph.start == std::string::npos)
                paragraph.start = token.start;
            paragraph.text += token.text;
        } else if (token.kind == Token::ParagraphEnd) {
            finish(token.end);
        }
        return true;
    });
    // The last paragraph ends with the document's text.
    size_t end = rtf.size();
    if (paragraph.start != std::string::npos) {
        const size_t lastBrace = rtf.find_last_of('}');
        end = lastBrace != std::string::npos && lastBrace > paragraph.start ? lastBrace : rtf.size();
    }
    finish(end);
    placed.append(rtf, copied, std::string::npos);
    return placed;
}
