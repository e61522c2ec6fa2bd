#include "service/pages/RequestFramer.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string Upload = "POST /upload.asp HTTP/1.1\r\nHost: x\r\ncontent-LENGTH:  11 \r\n\r\nhello world";

RequestFramer::State StateOf(const std::string& received, size_t maxHead = 1024, size_t maxBody = 100)
{
    return RequestFramer(maxHead, maxBody).Find(received).state;
}

} // namespace

// However the bytes arrive, a request is whole only with its last body byte, and what
// follows it belongs to the next one.
TEST(RequestFramerTest, ARequestIsWholeOnlyWithItsLastByte)
{
    const RequestFramer framer(1024, 100);
    for (size_t size = 0; size < Upload.size(); ++size)
        EXPECT_EQ(RequestFramer::State::Incomplete, framer.Find(Upload.substr(0, size)).state) << size;
    const std::string next = "GET / HTTP/1.1\r\n";
    const RequestFramer::Frame frame = framer.Find(Upload + next);
    EXPECT_EQ(RequestFramer::State::Complete, frame.state);
    EXPECT_EQ(Upload.size(), frame.bytes);
    EXPECT_EQ(Upload.find("hello"), frame.headBytes);

    const RequestFramer::Frame get = framer.Find("\r\n\r\nGET / HTTP/1.1\r\nHost: x\r\n\r\nGET");
    EXPECT_EQ(RequestFramer::State::Complete, get.state);
    EXPECT_EQ(4u, get.leading);
    EXPECT_EQ(std::string("GET / HTTP/1.1\r\nHost: x\r\n\r\n").size(), get.bytes);
}

TEST(RequestFramerTest, AClientWaitingToContinueIsSeenOnceTheHeadIsIn)
{
    const std::string head = "POST /upload.asp HTTP/1.1\r\nExpect: 100-Continue\r\nContent-Length: 5\r\n\r\n";
    const RequestFramer framer(1024, 100);
    EXPECT_EQ(0u, framer.Find(head.substr(0, head.size() - 1)).headBytes);
    const RequestFramer::Frame waiting = framer.Find(head);
    EXPECT_EQ(RequestFramer::State::Incomplete, waiting.state);
    EXPECT_EQ(head.size(), waiting.headBytes);
    EXPECT_TRUE(waiting.expectsContinue);
    EXPECT_FALSE(framer.Find(Upload).expectsContinue);
}

// Limits hold before the bytes are all there: a head without end, or a body announced
// larger than the site takes, is known as soon as it shows.
TEST(RequestFramerTest, WhatCannotBeTakenIsKnownEarly)
{
    EXPECT_EQ(RequestFramer::State::HeadTooLarge, StateOf("GET /" + std::string(30, 'a'), 32));
    EXPECT_EQ(RequestFramer::State::HeadTooLarge, StateOf("GET /" + std::string(30, 'a') + "\r\n\r\n", 32));
    EXPECT_EQ(RequestFramer::State::Incomplete, StateOf("GET /" + std::string(20, 'a'), 32));
    EXPECT_EQ(RequestFramer::State::BodyTooLarge, StateOf("POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n"));
    EXPECT_EQ(RequestFramer::State::Incomplete, StateOf("POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\n"));
    EXPECT_EQ(RequestFramer::State::BodyTooLarge,
              StateOf("POST / HTTP/1.1\r\nContent-Length: 999999999999999999\r\n\r\n"));
}

TEST(RequestFramerTest, LengthsThatAreNoPlainNumberAreRefused)
{
    EXPECT_EQ(RequestFramer::State::Malformed, StateOf("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n"));
    EXPECT_EQ(RequestFramer::State::Malformed, StateOf("POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n"));
    EXPECT_EQ(RequestFramer::State::Malformed, StateOf("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n"));
    EXPECT_EQ(RequestFramer::State::Malformed,
              StateOf("POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab"));
    EXPECT_EQ(RequestFramer::State::Complete,
              StateOf("POST / HTTP/1.1\r\nContent-Length: 2\r\nContent-Length: 2\r\n\r\nab"));
    EXPECT_EQ(RequestFramer::State::NoLength,
              StateOf("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"));
}
