#pragma once
#include <windows.h>

// What the update workers post to the update dialog.
const UINT DownloadProgress = WM_APP + 0;   // bytes received so far, total bytes
const UINT UpdateCheckDone = WM_APP + 1;    // CheckResult, 0
const UINT DownloadDone = WM_APP + 2;       // DownloadResult, id of the message to show or 0

enum CheckResult : int {
    CheckComplete = 0,
    CheckFailed = 2,
};

enum DownloadResult : int {
    DownloadNoConnection = 2,
    DownloadFailed = 3,
    DownloadCancelled = 4,
    DownloadComplete = 5,
};
