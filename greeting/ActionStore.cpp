#include "greeting/ActionStore.h"
#include <memory>
#include <mutex>
#include <new>
#include <utility>

namespace {
// Room beyond this, which no ordinary greeting needs, goes back to the system.
const size_t MaxSpareBytes = 16 * 1024 * 1024;
// Small enough that the heap keeps a freed block for the next instead of giving it back.
const size_t BlockActions = 512;
}

// Room for actions made in place; the store destroys each one it made.
struct ActionStore::Block {
    alignas(GreetingAction) unsigned char room[BlockActions][sizeof(GreetingAction)];
    size_t used = 0;
};

// The text and entries of the last store cleared, for the next file read: first writes to
// memory fresh from the system cost more than the read of a large file into memory in use.
// The text keeps its old length, so that a read of a file no longer clears it first.
struct ActionStore::Room {
    std::mutex lock;
    std::string text;
    std::vector<Entry> entries;
};

ActionStore::Room& ActionStore::SpareRoom()
{
    // Never destroyed: a store that outlives the statics still gives its room back.
    static Room* const room = new Room;
    return *room;
}

ActionStore::ActionStore() = default;

ActionStore::~ActionStore()
{
    Clear();
}

ActionStore::ActionStore(ActionStore&& other) noexcept
    : entries_(std::move(other.entries_)), blocks_(std::move(other.blocks_)), text_(std::move(other.text_))
{
    other.entries_.clear();
}

ActionStore& ActionStore::operator=(ActionStore&& other) noexcept
{
    if (this != &other) {
        Clear();
        entries_ = std::move(other.entries_);
        blocks_ = std::move(other.blocks_);
        text_ = std::move(other.text_);
        other.entries_.clear();
    }
    return *this;
}

GreetingAction* ActionStore::At(size_t index) const
{
    Entry& entry = entries_[index];
    if (!entry.action) {
        if (blocks_.empty() || blocks_.back()->used == BlockActions)
            blocks_.push_back(std::make_unique<Block>());
        Block& block = *blocks_.back();
        entry.action = new (block.room[block.used]) GreetingAction(LineOf(entry));
        ++block.used;
    }
    return entry.action;
}

void ActionStore::AppendLineTo(size_t index, std::string& text) const
{
    const Entry& entry = entries_[index];
    // Decoded and encoded again, as a made action would be: odd lines are saved the way
    // the program writes them.
    text += entry.action ? entry.action->GetLine() : GreetingAction(LineOf(entry)).GetLine();
}

std::string_view ActionStore::LineOf(const Entry& entry) const
{
    size_t at = entry.line;
    std::string_view line;
    CStdioFile::NextLine(text_, at, line);
    return line;
}

// A block's room is given back with the block, at Clear.
void ActionStore::Destroy(const Entry& entry)
{
    if (entry.line == Inserted)
        delete entry.action;
    else if (entry.action)
        entry.action->~GreetingAction();
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
    entries_.insert(entries_.begin() + index, { action, Inserted });
    owned.release();
}

void ActionStore::ReadText(CStdioFile& file)
{
    if (text_.empty()) {
        Room& spare = SpareRoom();
        std::lock_guard<std::mutex> hold(spare.lock);
        if (spare.text.capacity() > text_.capacity())
            text_.swap(spare.text);
    }
    file.ReadRest(text_);
}

bool ActionStore::AppendLines(size_t at, size_t limit)
{
    if (entries_.empty()) {
        Room& spare = SpareRoom();
        std::lock_guard<std::mutex> hold(spare.lock);
        if (spare.entries.capacity() > entries_.capacity())
            entries_.swap(spare.entries);
    }
    const size_t first = entries_.size();
    while (at < text_.size()) {
        if (entries_.size() - first == limit) {
            entries_.resize(first);
            return false;
        }
        entries_.push_back({ nullptr, static_cast<uint32_t>(at) });
        const size_t end = CStdioFile::FindLineFeed(text_, at);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return true;
}

void ActionStore::Erase(size_t index)
{
    const Entry entry = entries_[index];
    entries_.erase(entries_.begin() + index);
    Destroy(entry);
}

void ActionStore::Swap(size_t first, size_t second)
{
    std::swap(entries_[first], entries_[second]);
}

void ActionStore::Clear()
{
    for (const Entry& entry : entries_)
        Destroy(entry);
    entries_.clear();
    blocks_.clear();
    Room& spare = SpareRoom();
    std::lock_guard<std::mutex> hold(spare.lock);
    if (text_.capacity() > spare.text.capacity() && text_.capacity() <= MaxSpareBytes)
        text_.swap(spare.text);
    if (entries_.capacity() > spare.entries.capacity() && entries_.capacity() * sizeof(Entry) <= MaxSpareBytes)
        entries_.swap(spare.entries);
    std::string().swap(text_);
}
