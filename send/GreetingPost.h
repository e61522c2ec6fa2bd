#pragma once
#include <windows.h>
#include <string>

// What the service answered to an upload: its status and the first line of its body.
struct GreetingPostReply {
    DWORD status = 0;
    std::string firstLine;
    // The first line was longer than the part read of it.
    bool lineCut = false;
};

// How long the upload waits for the service to connect, take or answer anything.
const DWORD UploadTimeoutMs = 30000;

// The HTTP exchange of an upload: posts the greeting text to "/upload.asp" on the
// service's host through the system's Internet settings, and reads back the status and
// the first line of the reply. Every Internet object lives only inside the call. On
// failure, gives the message that tells the user what went wrong.
bool PostGreeting(const std::string& body, GreetingPostReply& reply, std::string& failure,
                  DWORD timeoutMs = UploadTimeoutMs);
