#pragma once
#include "service/GreetingStore.h"
#include "service/RequestLog.h"
#include "service/UploadReplyPlan.h"
#include <httplib.h>

// Pages under "/_test/" that only tests use, sent to the service itself (never through
// it as a proxy) and never logged:
//   POST /_test/upload-reply?kind=store|fixed|raw&status=N&delay=MS  with the reply bytes
//        as the body: how uploads are answered from now on
//   POST /_test/reset                  uploads are stored and answered at once again
//   GET  /_test/requests/last          the log's record of the last request
//   GET  /_test/greetings/<id>         a stored greeting's bytes
class TestControl {
public:
    TestControl(const GreetingStore& store, const RequestLog& log, UploadReplyPlan& plan);

    // Registers the pages; they must come before the site's catch-all.
    void Mount(httplib::Server& server);

private:
    void SetUploadReply(const httplib::Request& request, httplib::Response& response);

    const GreetingStore& store_;
    const RequestLog& log_;
    UploadReplyPlan& plan_;
};
