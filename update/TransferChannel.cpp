#include "update/TransferChannel.h"
#include <chrono>

namespace {

// A reader far ahead of a slow disk waits rather than fill the memory.
const size_t MaxPending = 1024 * 1024;

} // namespace

void TransferChannel::Opened(DWORD total)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == State::Opening) {
        total_ = total;
        state_ = State::Receiving;
    }
    changed_.notify_all();
}

bool TransferChannel::Push(const char* data, size_t size)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return state_ == State::Abandoned || pending_.size() < MaxPending; });
    if (state_ == State::Abandoned)
        return false;
    pending_.append(data, size);
    changed_.notify_all();
    return true;
}

void TransferChannel::End()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == State::Receiving)
        state_ = State::Ended;
    changed_.notify_all();
}

void TransferChannel::Fail(UINT message)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == State::Opening || state_ == State::Receiving) {
        state_ = State::Failed;
        failure_ = message;
    }
    changed_.notify_all();
}

TransferChannel::State TransferChannel::Take(std::string& bytes, DWORD waitMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const State seen = state_;
    changed_.wait_for(lock, std::chrono::milliseconds(waitMs),
                      [&] { return !pending_.empty() || state_ != seen; });
    bytes.swap(pending_);
    pending_.clear();
    changed_.notify_all();
    return state_;
}

DWORD TransferChannel::Total() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return total_;
}

UINT TransferChannel::FailureMessage() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}

void TransferChannel::Abandon()
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = State::Abandoned;
    pending_.clear();
    changed_.notify_all();
}
