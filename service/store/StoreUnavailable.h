#pragma once
#include <stdexcept>

// The database cannot be reached just now (stopped, restarting, the network between);
// a passing trouble that the next call may no longer meet.
class StoreUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
