#pragma once
#include "update/UpdateInfo.h"
#include "update/UpdateMessages.h"
#include "update/UpdateRequest.h"
#include "update/WorkerLink.h"
#include <string>

// One update check as the update dialog hands it to its worker.
struct UpdateCheckJob {
    explicit UpdateCheckJob(HWND dialog) : link(dialog) {}

    WorkerLink link;
    std::string agentName;
    std::string manifestUrl;
    // programVersion is set before the start; the worker fills in the rest.
    UpdateInfo info;
};

// Reads the manifest at the address and then the news document it names into info, and
// decides whether the manifest's version is newer than info.programVersion. Any failure
// (no connection, a network error, a status of 300 or more, a missing, empty or unsafe
// value, an oversized document, a site silent for longer than the time-out) gives
// CheckFailed; info may then hold part of it.
CheckResult CheckForUpdate(const std::string& agentName, const std::string& manifestUrl, UpdateInfo& info,
                           DWORD timeoutMs = UpdateTimeoutMs);

// The check's thread routine, started with StartWorker on an UpdateCheckJob: runs the
// check and posts UpdateCheckDone with its result.
UINT FetchUpdateInfo(void* param);
