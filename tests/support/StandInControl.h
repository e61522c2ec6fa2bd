#pragma once
#include <string>
#include <utility>
#include <vector>

// One request as the service stand-in recorded it.
struct RecordedRequest {
    std::string requestLine;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The value of the header (names compare without case); empty when it is missing.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

// The service stand-in that CTest starts before this test program (the fixture in
// CMakeLists.txt writes its port to service\port beside the program), driven through
// its test pages over a plain socket, so that none of the code under test is involved.
// Uploads are stored and answered with their id, and update files served plainly, again
// when it is created and destroyed. Problems fail the test.
class StandInControl {
public:
    StandInControl();
    ~StandInControl();
    StandInControl(const StandInControl&) = delete;
    StandInControl& operator=(const StandInControl&) = delete;

    unsigned short Port() const { return port; }

    // From now on uploads get the status with the body, after the delay.
    void ReplyWith(int status, const std::string& body, int delayMs = 0);
    // From now on uploads get the bytes in place of an HTTP reply, then the connection closes.
    void ReplyRaw(const std::string& bytes);
    // From now on uploads are stored and answered with their id, after the delay.
    void StoreAfter(int delayMs);

    // Puts the file into the stand-in's update folder, where "/update/<name>" serves it.
    void PublishUpdateFile(const std::string& name, const std::string& bytes) const;
    // From now on "/update/<name>" is answered as the query of the test page says:
    // "kind=serve|notfound|redirect|cut|nolength", "delay=MS", "rate=BYTES_PER_SECOND", "to=NAME".
    void SetUpdateReply(const std::string& name, const std::string& query) const;

    RecordedRequest LastRequest() const;
    // A stored greeting's bytes as the site keeps them.
    std::string StoredGreeting(const std::string& id) const;

private:
    struct Reply {
        int status;
        std::string body;
    };

    void SetUploadReply(const std::string& query, const std::string& body) const;
    void Reset() const;
    Reply Exchange(const std::string& method, const std::string& path, const std::string& body) const;

    unsigned short port = 0;
};
