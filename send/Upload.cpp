#include "send/Upload.h"
#include "app/SiteInfo.h"
#include "controls/BrowserLaunch.h"
#include "framework/MessageBox.h"
#include "framework/TextUtil.h"
#include "framework/WaitCursor.h"
#include "greeting/ParloDoc.h"
#include "send/GreetingPost.h"
#include <algorithm>

namespace {

const char NoIdReceived[] = "Failed to send greeting to the Parlacard web site.\n\nCould not obtain ID from web server.";
const char NotAnId[] = "Failed to send greeting to the Parlacard web site.\nCould not obtain ID from web server.\n\n"
                       "The response from the server was:\n";

void ShowError(const std::string& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
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

// Blocks until the site has answered. The HTTP status is never looked at: the first
// line of the reply's body must be the greeting's id, whatever came with it.
bool CParloDoc::UploadGreeting()
{
    CWaitCursor wait;
    BuildGreetingText("\r\n");
    std::string reply;
    std::string failure;
    if (!PostGreeting(greetingText, reply, failure)) {
        ShowError(failure);
        return false;
    }
    reply = TrimWhiteSpace(reply);
    if (reply.empty()) {
        ShowError(NoIdReceived);
        return false;
    }
    if (!IsGreetingId(reply)) {
        ShowError(NotAnId + reply);
        return false;
    }
    return OpenSendPage(reply);
}
