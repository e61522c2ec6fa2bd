#pragma once
#include <string>

// The greeting's way to the service's web site: the text is posted, the site answers
// with the greeting's id, and the send page for that id opens in the browser.

class CParloDoc;

// True when every character is a decimal digit; the empty text passes too.
bool IsGreetingId(const std::string& text);

// Opens the site's send page for the id: the SendGreetingPage address as it stands, with
// "?GID=" and the id appended. Always true.
bool OpenSendPage(const std::string& id);

// Posts the greeting text and opens the send page for the id the site answers. Blocks
// until the site has answered or the time-out has passed; false once the user was told
// why not.
bool UploadGreetingText(const std::string& greetingText);

// Uploads the document's greeting as the current sender's.
bool UploadGreeting(const CParloDoc& doc);
