#pragma once
#include <cstddef>
#include <string_view>

// Finds where one HTTP request ends in what a connection has received so far: its head
// up to the empty line, then as many body bytes as its Content-Length says. Only a
// request's framing is checked here; its meaning is left to the pages.
class RequestFramer {
public:
    enum class State {
        Incomplete,   // more bytes must come
        Complete,     // bytes() holds one whole request
        HeadTooLarge, // no end of the head within the limit (431)
        BodyTooLarge, // the head announces a body over the limit (413)
        NoLength,     // a body without a plain length, chunked or otherwise (411)
        Malformed,    // a length that is no number, or two lengths (400)
    };
    struct Frame {
        State state = State::Incomplete;
        // Blank lines a client may send between requests, to be dropped first.
        size_t leading = 0;
        // The head's size with its empty line, once the head is all there; else 0.
        size_t headBytes = 0;
        // The whole request's size (head and body), when complete.
        size_t bytes = 0;
        // The client waits for "100 Continue" before it sends the body.
        bool expectsContinue = false;
    };

    RequestFramer(size_t maxHeadBytes, size_t maxBodyBytes);

    Frame Find(std::string_view received) const;

private:
    const size_t maxHeadBytes_;
    const size_t maxBodyBytes_;
};
