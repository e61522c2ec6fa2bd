#include "support/StandInControl.h"
#include <winsock2.h>
#include <windows.h>
#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length < MAX_PATH ? length : 0);
    return program.substr(0, program.rfind('\\') + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The bytes of an HTTP exchange on a fresh connection to the stand-in, sent whole, and
// everything it answers up to the close.
std::string Converse(unsigned short port, const std::string& request)
{
    SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connection == INVALID_SOCKET) {
        ADD_FAILURE() << "socket failed: " << WSAGetLastError();
        return std::string();
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ADD_FAILURE() << "the stand-in does not answer on port " << port << ": error " << WSAGetLastError();
    } else if (send(connection, request.data(), static_cast<int>(request.size()), 0) !=
               static_cast<int>(request.size())) {
        ADD_FAILURE() << "could not send to the stand-in: error " << WSAGetLastError();
    } else {
        char block[4096];
        int received;
        while ((received = recv(connection, block, sizeof(block), 0)) > 0)
            answer.append(block, received);
    }
    closesocket(connection);
    return answer;
}

} // namespace

std::string RecordedRequest::Header(const std::string& name) const
{
    for (const auto& header : headers) {
        if (SameName(header.first, name))
            return header.second;
    }
    return std::string();
}

bool RecordedRequest::HasHeader(const std::string& name) const
{
    for (const auto& header : headers) {
        if (SameName(header.first, name))
            return true;
    }
    return false;
}

StandInControl::StandInControl()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        ADD_FAILURE() << "WSAStartup failed";
    std::ifstream file(ProgramFolder() + "service\\port");
    int number = 0;
    if (!(file >> number) || number <= 0 || number > 65535)
        ADD_FAILURE() << "no port in " << ProgramFolder() << "service\\port: CTest's fixture starts the stand-in "
                      << "(ctest -R send_tests runs it too)";
    else
        port = static_cast<unsigned short>(number);
    Reset();
}

StandInControl::~StandInControl()
{
    Reset();
    WSACleanup();
}

void StandInControl::Reset() const
{
    const Reply reply = Exchange("POST", "/_test/reset", std::string());
    EXPECT_EQ(200, reply.status) << reply.body;
}

void StandInControl::PublishUpdateFile(const std::string& name, const std::string& bytes) const
{
    const std::string folder = ProgramFolder() + "service\\updates";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream file(folder + "\\" + name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        ADD_FAILURE() << "could not write " << folder << "\\" << name;
}

void StandInControl::SetUpdateReply(const std::string& name, const std::string& query) const
{
    const Reply reply = Exchange("POST", "/_test/update-reply?name=" + name + "&" + query, std::string());
    EXPECT_EQ(200, reply.status) << reply.body;
}

void StandInControl::ReplyWith(int status, const std::string& body, int delayMs)
{
    SetUploadReply("kind=fixed&status=" + std::to_string(status) + "&delay=" + std::to_string(delayMs), body);
}

void StandInControl::ReplyRaw(const std::string& bytes)
{
    SetUploadReply("kind=raw", bytes);
}

void StandInControl::StoreAfter(int delayMs)
{
    SetUploadReply("kind=store&delay=" + std::to_string(delayMs), std::string());
}

void StandInControl::SetUploadReply(const std::string& query, const std::string& body) const
{
    const Reply reply = Exchange("POST", "/_test/upload-reply?" + query, body);
    EXPECT_EQ(200, reply.status) << reply.body;
}

RecordedRequest StandInControl::LastRequest() const
{
    const Reply reply = Exchange("GET", "/_test/requests/last", std::string());
    RecordedRequest request;
    EXPECT_EQ(200, reply.status) << reply.body;
    const size_t headEnd = reply.body.find("\r\n\r\n");
    if (reply.status != 200 || headEnd == std::string::npos)
        return request;
    request.body = reply.body.substr(headEnd + 4);
    const std::string head = reply.body.substr(0, headEnd + 2);
    size_t start = head.find("\r\n");
    request.requestLine = head.substr(0, start);
    for (size_t end; (end = head.find("\r\n", start + 2)) != std::string::npos; start = end) {
        const std::string line = head.substr(start + 2, end - start - 2);
        const size_t colon = line.find(": ");
        request.headers.emplace_back(line.substr(0, colon), colon == std::string::npos ? "" : line.substr(colon + 2));
    }
    return request;
}

std::string StandInControl::StoredGreeting(const std::string& id) const
{
    const Reply reply = Exchange("GET", "/_test/greetings/" + id, std::string());
    EXPECT_EQ(200, reply.status) << "greeting " << id << ": " << reply.body;
    return reply.body;
}

StandInControl::Reply StandInControl::Exchange(const std::string& method, const std::string& path,
                                               const std::string& body) const
{
    Reply reply{ 0, std::string() };
    if (port == 0)
        return reply;
    const std::string answer = Converse(port, method + " " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" +
                                                  "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
                                                  body);
    const size_t headEnd = answer.find("\r\n\r\n");
    if (answer.compare(0, 9, "HTTP/1.1 ") != 0 || headEnd == std::string::npos) {
        ADD_FAILURE() << method << " " << path << ": no HTTP reply from the stand-in";
        return reply;
    }
    reply.status = atoi(answer.c_str() + 9);
    reply.body = answer.substr(headEnd + 4);
    return reply;
}
