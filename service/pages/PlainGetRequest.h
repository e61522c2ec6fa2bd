#pragma once
#include "service/pages/ConnectionStream.h"
#include <httplib.h>
#include <string>

// Reads a whole GET or HEAD request into the library's request as the library would (path
// and query decoded, the connection's addresses; not its copies of the addresses among
// the headers, which no page reads), when the request is plain: origin
// form, HTTP/1.0 or 1.1, no body, no range, nothing to continue, and every header line a
// name, a colon and a value of printable characters without escapes. False for anything
// else, which is then left to the library to read, with all its rules for odd requests.
bool ReadPlainGet(const std::string& bytes, const ConnectionAddresses& addresses, httplib::Request& request);
