#include "stage/RequestQueue.h"
#include <algorithm>

RequestQueue::~RequestQueue()
{
    Interrupt(kAllActions);
}

void RequestQueue::Push(QueuedRequest entry)
{
    entry.request->SetStatus(RequestStatus::Pending);
    waiting_.push_back(std::move(entry));
}

QueuedRequest RequestQueue::TakeNext()
{
    QueuedRequest next = std::move(waiting_.front());
    waiting_.pop_front();
    next.request->SetStatus(RequestStatus::InProgress);
    return next;
}

void RequestQueue::Interrupt(unsigned kinds)
{
    const auto dropped = [kinds](const QueuedRequest& entry) { return (entry.action->Kind() & kinds) != 0; };
    for (QueuedRequest& entry : waiting_)
        if (dropped(entry))
            entry.request->SetStatus(RequestStatus::Interrupted);
    waiting_.erase(std::remove_if(waiting_.begin(), waiting_.end(), dropped), waiting_.end());
}
