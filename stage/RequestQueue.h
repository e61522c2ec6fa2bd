#pragma once
#include "stage/ComRef.h"
#include "stage/RequestObject.h"
#include "stage/StageAction.h"
#include <deque>
#include <memory>

// A request and what performs it. The request is null for what the character does of
// its own accord (idling).
struct QueuedRequest {
    ComRef<RequestObject> request;
    std::unique_ptr<StageAction> action;
};

// The requests a character has yet to perform, first in, first out. Their statuses
// follow them: pending while they wait, in progress once taken, interrupted when
// dropped.
class RequestQueue {
public:
    RequestQueue() = default;
    ~RequestQueue();
    RequestQueue(const RequestQueue&) = delete;
    RequestQueue& operator=(const RequestQueue&) = delete;

    void Push(QueuedRequest entry);
    bool Empty() const { return waiting_.empty(); }
    // The next request, now in progress.
    QueuedRequest TakeNext();
    // Drops the waiting requests of the given kinds (ActionKind mask) as interrupted.
    void Interrupt(unsigned kinds);

private:
    std::deque<QueuedRequest> waiting_;
};
