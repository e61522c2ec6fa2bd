#pragma once
#include "framework/StdioFile.h"
#include "greeting/GreetingAction.h"
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A greeting's actions in order, owned. A greeting read from a file keeps the file's text,
// and each of its actions is made from its line only when it is first asked for: a large
// greeting loads in little more than its file takes to read. An action once made never
// moves, so a pointer to one stays valid while the store holds it.
class ActionStore {
public:
    ActionStore();
    ~ActionStore();
    ActionStore(ActionStore&& other) noexcept;
    ActionStore& operator=(ActionStore&& other) noexcept;
    ActionStore(const ActionStore&) = delete;
    ActionStore& operator=(const ActionStore&) = delete;

    size_t Size() const { return entries_.size(); }
    GreetingAction* At(size_t index) const;
    // The line of the action as a file holds it; an action not made yet is not made for it.
    void AppendLineTo(size_t index, std::string& text) const;
    // -1 when the action is not here.
    int IndexOf(const GreetingAction* action) const;

    // Takes an action made with new.
    void Insert(size_t index, GreetingAction* action);
    // Reads the rest of the file as the text that AppendLines makes actions from. Read
    // errors are thrown as CFileException.
    void ReadText(CStdioFile& file);
    std::string_view Text() const { return text_; }
    // A new last action for each line of the text from at on, as CStdioFile::NextLine
    // splits it; false, with none added, when there are more than limit.
    bool AppendLines(size_t at, size_t limit);
    void Erase(size_t index);
    void Swap(size_t first, size_t second);
    void Clear();

private:
    struct Entry {
        // Null until made.
        GreetingAction* action;
        // Where its line starts in the text, or Inserted for an action that came made.
        uint32_t line;
    };
    static const uint32_t Inserted = UINT32_MAX;
    struct Block;
    struct Room;
    static Room& SpareRoom();

    std::string_view LineOf(const Entry& entry) const;
    static void Destroy(const Entry& entry);

    mutable std::vector<Entry> entries_;
    // Actions made from lines, many to a heap block: a block each would cost more than
    // the decoding.
    mutable std::vector<std::unique_ptr<Block>> blocks_;
    std::string text_;
};
