#include "send/Upload.h"
#include "controls/BrowserLaunch.h"
#include "framework/MessageBox.h"
#include "framework/TextUtil.h"
#include "framework/WaitCursor.h"
#include "greeting/ParloDoc.h"
#include "send/GreetingPost.h"
#include "settings/SiteInfo.h"
#include <algorithm>

namespace {

const char NoIdReceived[] = "Failed to send greeting to the Parlacard web site.\n\nCould not obtain ID from web server.";
const char NotAnId[] = "Failed to send greeting to the Parlacard web site.\nCould not obtain ID from web server.\n\n"
                       "The response from the server was:\n";

// An id is at most this many digits: a longer run of digits is not an id the site gave.
const size_t MaxIdDigits = 10;
// The most of the server's text a message quotes; a reply can be any size.
const size_t MaxQuotedReply = 300;

void ShowError(const std::string& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

std::string Quoted(const std::string& text, bool cut)
{
    if (!cut && text.size() <= MaxQuotedReply)
        return text;
    return text.substr(0, MaxQuotedReply) + "...";
}

} // namespace

bool IsGreetingId(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool OpenSendPage(const std::string& id)
{
    // Used as it stands: a page address that holds a query already gets a second "?".
    OpenWebPage(ReadSiteAddress(SendGreetingPage) + "?GID=" + id);
    return true;
}

bool UploadGreeting(const CParloDoc& doc)
{
    return UploadGreetingText(doc.BuildGreetingText(CurrentSender(), "\r\n"));
}

// The first line of a successful reply's body must be the greeting's id; an error status
// is a failed upload whatever its body says.
bool UploadGreetingText(const std::string& greetingText)
{
    CWaitCursor wait;
    GreetingPostReply reply;
    std::string failure;
    if (!PostGreeting(greetingText, reply, failure)) {
        ShowError(failure);
        return false;
    }
    const std::string line = TrimWhiteSpace(reply.firstLine);
    if (reply.status >= 300) {
        ShowError(std::string(NotAnId) + "HTTP status " + std::to_string(reply.status) + "\n" + Quoted(line, reply.lineCut));
        return false;
    }
    if (line.empty()) {
        ShowError(NoIdReceived);
        return false;
    }
    if (reply.lineCut || line.size() > MaxIdDigits || !IsGreetingId(line)) {
        ShowError(NotAnId + Quoted(line, reply.lineCut));
        return false;
    }
    return OpenSendPage(line);
}
