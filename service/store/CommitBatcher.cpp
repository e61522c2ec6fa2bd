#include "service/store/CommitBatcher.h"
#include <exception>

struct CommitBatcher::Pending {
    Part part;
    bool done = false;
    std::exception_ptr error;
};

CommitBatcher::CommitBatcher(Commit commit) : commit_(std::move(commit))
{
}

void CommitBatcher::Run(Part part)
{
    const auto mine = std::make_shared<Pending>();
    mine->part = std::move(part);
    std::unique_lock<std::mutex> lock(mutex_);
    waiting_.push_back(mine);
    while (!mine->done) {
        if (committing_) {
            committed_.wait(lock);
            continue;
        }
        committing_ = true;
        std::vector<std::shared_ptr<Pending>> batch;
        batch.swap(waiting_);
        lock.unlock();
        std::vector<Part> parts;
        for (const std::shared_ptr<Pending>& pending : batch)
            parts.push_back(pending->part);
        std::exception_ptr error;
        try {
            commit_(parts);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        for (const std::shared_ptr<Pending>& pending : batch) {
            pending->error = error;
            pending->done = true;
        }
        committing_ = false;
        committed_.notify_all();
    }
    if (mine->error)
        std::rethrow_exception(mine->error);
}
