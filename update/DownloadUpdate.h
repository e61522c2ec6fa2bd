#pragma once
#include "update/UpdateMessages.h"
#include "update/UpdateRequest.h"
#include "update/WorkerLink.h"
#include <string>

class TransferChannel;

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
    // Set by the worker before it reports a complete download: where the file went, the
    // target or, when a file of that name was there, the first free variant of it.
    std::string savedPath;
};

struct DownloadOutcome {
    DownloadResult result;
    // The message that tells the user what went wrong (a string id), or 0.
    UINT message;
};

// Fetches the file until the server reports its end, posting DownloadProgress at most
// once a second and once more at the total. The network is read on a thread of its own,
// so that a cancel or a site silent for the time-out ends the download within a moment
// whatever the server does. The bytes reach a name on the Desktop only when exactly the
// announced length arrived and the checksum (if any) matched; no file there is ever
// replaced, and no partial file is left.
DownloadOutcome DownloadToFile(DownloadJob& job);

// The storing half of DownloadToFile: takes what the channel brings into the job's file.
// It abandons the channel whenever it gives up.
DownloadOutcome StoreTransfer(DownloadJob& job, TransferChannel& channel);

// The download's thread routine, started with StartWorker on a DownloadJob: runs the
// download and posts DownloadDone with its result and message.
UINT DownloadUpdate(void* param);
