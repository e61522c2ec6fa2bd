#pragma once
#include <httplib.h>
#include <string>

// A page's reply in bytes, as the library writes a reply it routed: the status line, the
// page's headers with those the library adds (Connection: close or Keep-Alive, a missing
// Content-Type, Content-Length, Accept-Ranges for HEAD), then the body, none for HEAD.
// A text body goes out gzip-compressed to a client that takes it; a file's bytes come
// from its content provider.
std::string ReplyBytes(const httplib::Request& request, httplib::Response& response, bool close,
                       const std::string& keepAlive);
