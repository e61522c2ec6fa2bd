#pragma once
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Changes that arrive while a commit is being synced go together in the next commit: one
// sync for all of them, each caller answered only once its own change is durable. The
// first caller to find nobody committing commits everything waiting, its own among it.
class CommitBatcher {
public:
    using Part = std::function<void()>;
    // Runs all the parts in one transaction and returns once it is durable; throws when
    // the transaction failed, and then every part failed with it.
    using Commit = std::function<void(const std::vector<Part>& parts)>;

    explicit CommitBatcher(Commit commit);

    // Returns once a commit holding the part is durable; throws that commit's failure.
    void Run(Part part);

private:
    struct Pending;

    Commit commit_;
    std::mutex mutex_;
    std::condition_variable committed_;
    std::vector<std::shared_ptr<Pending>> waiting_;
    bool committing_ = false;
};
