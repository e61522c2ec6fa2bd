#include "greeting/CsvRecord.h"

namespace {

// The first position from at on that holds one of the stops, or the end. A plain loop:
// find_first_of costs a library call per character.
template <size_t N>
size_t FindStop(std::string_view text, size_t at, const char (&stops)[N])
{
    for (; at < text.size(); ++at) {
        for (size_t i = 0; i + 1 < N; ++i) {
            if (text[at] == stops[i])
                return at;
        }
    }
    return at;
}

} // namespace

bool CsvRecord::Parse()
{
    return true;
}

bool CsvRecord::Format()
{
    return true;
}

bool CsvRecord::SetLine(const std::string& text)
{
    line = text;
    return Parse();
}

const std::string& CsvRecord::GetLine()
{
    Format();
    return line;
}

std::string CsvRecord::ReadField()
{
    size_t at = static_cast<size_t>(position);
    std::string field = DecodeCsvField(line, at);
    position = static_cast<int>(at);
    return field;
}

void CsvRecord::ResetPosition()
{
    position = 0;
}

// A field that starts with a quote is quoted: commas are data until a closing quote has
// been seen. Everywhere a doubled quote stands for one quote and a single one is dropped;
// text between a closing quote and the next comma is kept.
std::string DecodeCsvField(std::string_view line, size_t& position)
{
    std::string field;
    const size_t end = line.size();
    size_t at = position;
    if (at >= end)
        return field;
    const bool quoted = line[at] == '"';
    if (quoted)
        ++at;
    bool pendingQuote = false;
    while (at < end) {
        const size_t run = FindStop(line, at, ",\"");
        field.append(line, at, run - at);
        at = run;
        if (at == end)
            break;
        const char c = line[at++];
        if (c == ',') {
            if (!quoted || pendingQuote)
                break;
            field += ',';
        } else {
            if (pendingQuote)
                field += '"';
            pendingQuote = !pendingQuote;
        }
    }
    position = at;
    return field;
}

// Fields with a comma are quoted; so are fields that begin with a quote, which the
// reader would otherwise take for an opening quote. A line break would split the
// record in two, so it becomes a blank.
void CsvRecord::AddField(const std::string& text)
{
    if (fieldAdded_)
        line += ',';
    fieldAdded_ = true;
    const bool enclose = text.find(',') != std::string::npos || (!text.empty() && text[0] == '"');
    if (enclose)
        line += '"';
    for (size_t at = 0; at < text.size();) {
        const size_t special = FindStop(text, at, "\"\r\n");
        line.append(text, at, special - at);
        if (special == text.size())
            break;
        line += text[special] == '"' ? "\"\"" : " ";
        at = special + 1;
    }
    if (enclose)
        line += '"';
}

void CsvRecord::ClearLine()
{
    line.clear();
    fieldAdded_ = false;
}
