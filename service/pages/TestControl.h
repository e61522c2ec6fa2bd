#pragma once
#include "service/store/GreetingStore.h"
#include "service/pages/RequestLog.h"
#include "service/pages/UpdateReplyPlan.h"
#include "service/pages/UploadReplyPlan.h"
#include <httplib.h>

// Pages under "/_test/" that only tests use, sent to the service itself (never through
// it as a proxy) and never logged:
//   POST /_test/upload-reply?kind=store|fixed|raw&status=N&delay=MS  with the reply bytes
//        as the body: how uploads are answered from now on
//   POST /_test/update-reply?name=FILE&kind=serve|notfound|redirect|cut|nolength
//        &delay=MS&rate=BYTES_PER_SECOND&to=FILE: how "/update/FILE" is answered from now on
//   POST /_test/reset                  uploads are stored and answered at once again,
//                                      update files served plainly
//   GET  /_test/requests/last          the log's record of the last request
//   GET  /_test/greetings/<id>         a stored greeting's bytes
class TestControl {
public:
    TestControl(const GreetingStore& store, const RequestLog& log, UploadReplyPlan& plan, UpdateReplyPlan& updatePlan);

    // Registers the pages; they must come before the site's catch-all.
    void Mount(httplib::Server& server);

private:
    void SetUploadReply(const httplib::Request& request, httplib::Response& response);
    void SetUpdateReply(const httplib::Request& request, httplib::Response& response);

    const GreetingStore& store_;
    const RequestLog& log_;
    UploadReplyPlan& plan_;
    UpdateReplyPlan& updatePlan_;
};
