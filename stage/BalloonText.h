#pragma once
#include <functional>
#include <string>
#include <vector>

// The words of a spoken text and the lines the balloon breaks them into. The lines are
// laid out once for the whole text, so that words appearing one by one never jump from
// one line to another.
class BalloonText {
public:
    // The width of a piece of text in pixels.
    using Measure = std::function<int(const std::string& text)>;

    explicit BalloonText(const std::string& text);

    const std::vector<std::string>& Words() const { return words_; }

    // Breaks the words into lines no wider than maxWidth; a word wider than that
    // stands alone on its line.
    void Wrap(const Measure& measure, int maxWidth);

    size_t LineCount() const { return lineEnds_.size(); }
    // The widest line of the whole text.
    int Width(const Measure& measure) const;
    // What the balloon shows once `shown` words have been spoken and `visibleLines`
    // fit: the last of the lines reached, the last one cut after the shown words.
    std::vector<std::string> VisibleLines(size_t shown, size_t visibleLines) const;

private:
    std::string Line(size_t line, size_t endWord) const;

    std::vector<std::string> words_;
    std::vector<size_t> lineStarts_;  // index of each line's first word
    std::vector<size_t> lineEnds_;    // index one past each line's last word
};
