#pragma once
#include <string>

// A database of its own in the tests' PostgreSQL cluster, which CTest starts before the
// tests and stops after them (postgres-cluster.sh); dropped when this goes.
class TestDatabase {
public:
    // Throws when the cluster is not running (the tests were started without CTest).
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Its postgresql:// address.
    const std::string& Address() const { return address_; }
    // The first value of a statement run on it from a connection of its own; empty for none.
    std::string Value(const std::string& sql) const;

    // Stops the whole cluster, keeping its data, and starts it again on the same port.
    static void HaltCluster();
    static void ResumeCluster();

private:
    std::string name_;
    std::string address_;
};
