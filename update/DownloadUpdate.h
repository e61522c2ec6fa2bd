#pragma once
#include "update/UpdateMessages.h"
#include "update/UpdateRequest.h"
#include "update/WorkerLink.h"
#include <string>

// One download as the update dialog hands it to its worker.
struct DownloadJob {
    explicit DownloadJob(HWND dialog) : link(dialog) {}

    WorkerLink link;
    std::string agentName;
    std::string fileUrl;
    // 64 hexadecimal digits the file must hash to, or empty for no check.
    std::string expectedSha256;
    // Where the file goes once it has arrived whole.
    std::string targetPath;
    // How long the site may stay silent before the download counts as failed.
    DWORD timeoutMs = UpdateTimeoutMs;
};

struct DownloadOutcome {
    DownloadResult result;
    // The message that tells the user what went wrong (a string id), or 0.
    UINT message;
};

// Fetches the file in 4096-byte blocks until the server reports its end, posting
// DownloadProgress at most once a second and once more at the total, and stopping after
// the block in which a cancel was requested. The bytes reach the target's name only
// when exactly the announced length arrived and the checksum (if any) matched; a file
// of that name stays untouched otherwise, and no partial file is left.
DownloadOutcome DownloadToFile(DownloadJob& job);

// The download's thread routine, started with StartWorker on a DownloadJob: runs the
// download and posts DownloadDone with its result and message.
UINT DownloadUpdate(void* param);
