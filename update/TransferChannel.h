#pragma once
#include <windows.h>
#include <condition_variable>
#include <mutex>
#include <string>

// Bytes handed from a thread that reads them from the network to one that stores them.
// The storing side never waits on the network itself, so it can give up at any moment
// (on a cancel, or when the site falls silent); the reading side notices at its next
// hand-over and stops, whatever the server does meanwhile.
class TransferChannel {
public:
    enum class State { Opening, Receiving, Ended, Failed, Abandoned };

    // The reading side: the reply's announced length has arrived.
    void Opened(DWORD total);
    // Hands bytes over, waiting while much is still untaken; false once abandoned.
    bool Push(const char* data, size_t size);
    // The reply's body has ended.
    void End();
    // The transfer failed; message is the string id that says why.
    void Fail(UINT message);

    // The storing side: waits up to waitMs for bytes or a change of state, then moves the
    // bytes that arrived into bytes and returns the state.
    State Take(std::string& bytes, DWORD waitMs);
    // The reply's announced length, once Opened.
    DWORD Total() const;
    UINT FailureMessage() const;
    // The storing side stops taking; the reading side stops at its next hand-over.
    void Abandon();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string pending_;
    State state_ = State::Opening;
    DWORD total_ = 0;
    UINT failure_ = 0;
};
