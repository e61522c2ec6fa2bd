#include "stage/BalloonText.h"
#include <algorithm>
#include <sstream>

BalloonText::BalloonText(const std::string& text)
{
    std::istringstream stream(text);
    std::string word;
    while (stream >> word)
        words_.push_back(word);
}

void BalloonText::Wrap(const Measure& measure, int maxWidth)
{
    lineStarts_.clear();
    lineEnds_.clear();
    std::string line;
    for (size_t word = 0; word < words_.size(); ++word) {
        const std::string longer = line.empty() ? words_[word] : line + ' ' + words_[word];
        if (!line.empty() && measure(longer) > maxWidth) {
            lineEnds_.push_back(word);
            line = words_[word];
            lineStarts_.push_back(word);
        } else {
            if (line.empty())
                lineStarts_.push_back(word);
            line = longer;
        }
    }
    if (!words_.empty())
        lineEnds_.push_back(words_.size());
}

int BalloonText::Width(const Measure& measure) const
{
    int widest = 0;
    for (size_t line = 0; line < lineEnds_.size(); ++line)
        widest = std::max(widest, measure(Line(line, lineEnds_[line])));
    return widest;
}

std::vector<std::string> BalloonText::VisibleLines(size_t shown, size_t visibleLines) const
{
    std::vector<std::string> visible;
    if (shown == 0 || lineEnds_.empty() || visibleLines == 0)
        return visible;
    shown = std::min(shown, words_.size());
    // The line that holds the last shown word.
    size_t last = 0;
    while (lineEnds_[last] < shown)
        ++last;
    const size_t first = last + 1 > visibleLines ? last + 1 - visibleLines : 0;
    for (size_t line = first; line <= last; ++line)
        visible.push_back(Line(line, std::min(lineEnds_[line], shown)));
    return visible;
}

std::string BalloonText::Line(size_t line, size_t endWord) const
{
    std::string text;
    for (size_t word = lineStarts_[line]; word < endWord; ++word) {
        if (!text.empty())
            text += ' ';
        text += words_[word];
    }
    return text;
}
