#include "greeting/CsvRecord.h"

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

std::string CsvRecord::GetLine()
{
    Format();
    return line;
}

void CsvRecord::ResetPosition()
{
    position = 0;
}

// A field that starts with a quote is quoted: commas are data until a closing quote has
// been seen. Everywhere a doubled quote stands for one quote and a single one is dropped;
// text between a closing quote and the next comma is kept.
std::string CsvRecord::ReadField()
{
    std::string field;
    size_t at = static_cast<size_t>(position);
    if (at >= line.size())
        return field;
    const bool quoted = line[at] == '"';
    if (quoted)
        ++at;
    bool pendingQuote = false;
    while (at < line.size()) {
        const char c = line[at++];
        if ((!quoted || pendingQuote) && c == ',')
            break;
        if (c == '"') {
            if (pendingQuote)
                field += '"';
            pendingQuote = !pendingQuote;
        } else {
            field += c;
        }
    }
    position = static_cast<int>(at);
    return field;
}

// Fields with a comma are quoted; so are fields that begin with a quote, which the
// reader would otherwise take for an opening quote. A line break would split the
// record in two, so it becomes a blank.
void CsvRecord::AddField(const std::string& text)
{
    if (fieldAdded)
        line += ',';
    fieldAdded = true;
    const bool enclose = text.find(',') != std::string::npos || (!text.empty() && text[0] == '"');
    if (enclose)
        line += '"';
    for (const char c : text) {
        if (c == '"')
            line += "\"\"";
        else if (c == '\r' || c == '\n')
            line += ' ';
        else
            line += c;
    }
    if (enclose)
        line += '"';
}

void CsvRecord::ClearLine()
{
    line.clear();
    fieldAdded = false;
}
