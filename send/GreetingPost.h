#pragma once
#include <string>

// The HTTP exchange of an upload: posts the greeting text to "/upload.asp" on the
// service's host through the system's Internet settings, and reads back the first line
// of the reply. Every Internet object lives only inside the call. On failure, gives the
// message that tells the user what went wrong.
bool PostGreeting(const std::string& body, std::string& firstLine, std::string& failure);
