#pragma once
#include <string>

// The greeting's way to the service's web site. CParloDoc::UploadGreeting posts it; the
// site answers with the greeting's id, and the send page for that id opens in the browser.

// True when every character is a decimal digit; the empty text passes too.
bool IsGreetingId(const std::string& text);

// Opens the site's send page for the id: the SendGreetingPage address as it stands, with
// "?GID=" and the id appended. Always true.
bool OpenSendPage(const std::string& id);
