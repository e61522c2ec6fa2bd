#pragma once
#include "greeting/GreetingAction.h"
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A greeting's actions in order, owned. Actions read from a file are made in blocks of
// many, beside the file's text their lines point into: a heap block each would cost more
// than reading the file. No action ever moves, so a pointer to one stays valid while the
// store holds it.
class ActionStore {
public:
    ActionStore();
    ~ActionStore();
    ActionStore(ActionStore&& other) noexcept;
    ActionStore& operator=(ActionStore&& other) noexcept;
    ActionStore(const ActionStore&) = delete;
    ActionStore& operator=(const ActionStore&) = delete;

    size_t Size() const { return entries_.size(); }
    GreetingAction* At(size_t index) const { return entries_[index].action; }
    // -1 when the action is not here.
    int IndexOf(const GreetingAction* action) const;

    // Takes an action made with new.
    void Insert(size_t index, GreetingAction* action);
    // Keeps a text that the lines of Append point into until Clear; where it now lies.
    std::string_view KeepText(std::string text);
    // A new last action decoded from the line when it is first used.
    void Append(std::string_view line);
    void Erase(size_t index);
    void Swap(size_t first, size_t second);
    void Clear();

private:
    struct Entry {
        GreetingAction* action;
        bool inBlock;
    };
    struct Block;

    std::vector<Entry> entries_;
    std::vector<std::unique_ptr<Block>> blocks_;
    // Each text stays where it is however the store moves.
    std::vector<std::unique_ptr<const std::string>> texts_;
};
