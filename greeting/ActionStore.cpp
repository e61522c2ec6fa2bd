#include "greeting/ActionStore.h"
#include <new>
#include <utility>

namespace {
const size_t BlockActions = 1024;
}

// Room for actions made in place; the store destroys each one it made.
struct ActionStore::Block {
    alignas(GreetingAction) unsigned char room[BlockActions][sizeof(GreetingAction)];
    size_t used = 0;
};

ActionStore::ActionStore() = default;

ActionStore::~ActionStore()
{
    Clear();
}

ActionStore::ActionStore(ActionStore&& other) noexcept
    : entries_(std::move(other.entries_)), blocks_(std::move(other.blocks_)), texts_(std::move(other.texts_))
{
    other.entries_.clear();
}

ActionStore& ActionStore::operator=(ActionStore&& other) noexcept
{
    if (this != &other) {
        Clear();
        entries_ = std::move(other.entries_);
        blocks_ = std::move(other.blocks_);
        texts_ = std::move(other.texts_);
        other.entries_.clear();
    }
    return *this;
}

int ActionStore::IndexOf(const GreetingAction* action) const
{
    for (size_t index = 0; index < entries_.size(); ++index) {
        if (entries_[index].action == action)
            return static_cast<int>(index);
    }
    return -1;
}

void ActionStore::Insert(size_t index, GreetingAction* action)
{
    std::unique_ptr<GreetingAction> owned(action);
    entries_.insert(entries_.begin() + index, { action, false });
    owned.release();
}

std::string_view ActionStore::KeepText(std::string text)
{
    texts_.push_back(std::make_unique<const std::string>(std::move(text)));
    return *texts_.back();
}

void ActionStore::Append(std::string_view line)
{
    if (blocks_.empty() || blocks_.back()->used == BlockActions)
        blocks_.push_back(std::make_unique<Block>());
    entries_.push_back({ nullptr, true });
    Block& block = *blocks_.back();
    entries_.back().action = new (block.room[block.used++]) GreetingAction(line);
}

void ActionStore::Erase(size_t index)
{
    const Entry entry = entries_[index];
    entries_.erase(entries_.begin() + index);
    // A block's room is given back with the block, at Clear.
    if (entry.inBlock)
        entry.action->~GreetingAction();
    else
        delete entry.action;
}

void ActionStore::Swap(size_t first, size_t second)
{
    std::swap(entries_[first], entries_[second]);
}

void ActionStore::Clear()
{
    for (const Entry& entry : entries_) {
        if (entry.inBlock)
            entry.action->~GreetingAction();
        else
            delete entry.action;
    }
    entries_.clear();
    blocks_.clear();
    texts_.clear();
}
