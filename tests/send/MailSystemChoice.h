#pragma once
#include <string>
#include <vector>

// Which Simple MAPI library the program under test finds when it loads "MAPI32.DLL".
enum class MailSystem {
    Mock,       // MockMapi beside this program, answering as the test tells it
    WinesOwn,   // the library that comes with Wine
    None,       // no library at all
};

// Chooses the mail system for one test through this program's DLL overrides in the test
// prefix, and talks to the mock through the two files beside it. Everything is put back
// when the test is done.
class MailSystemChoice {
public:
    explicit MailSystemChoice(MailSystem system);
    ~MailSystemChoice();
    MailSystemChoice(const MailSystemChoice&) = delete;
    MailSystemChoice& operator=(const MailSystemChoice&) = delete;

    // The mock's instructions for its next calls, one a line (see MockMapi.cpp).
    void Answer(const std::vector<std::string>& instructions) const;
    // What the mock was called with so far, a line per event.
    std::vector<std::string> Calls() const;
};
