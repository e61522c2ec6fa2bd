#include "update/DownloadUpdate.h"
#include "framework/InternetException.h"
#include "res/resource.h"
#include "update/PartialFile.h"
#include "update/Sha256.h"
#include <wininet.h>
#include <memory>

namespace {

const DWORD BlockSize = 4096;
const DWORD ProgressInterval = 1000;

const DownloadOutcome NetworkError = { DownloadFailed, IDS_UPDATE_WEB_ERROR };
const DownloadOutcome FileError = { DownloadFailed, IDS_UPDATE_FILE_ERROR };

// Posts the progress at the first block, then at most once a second, and at the total.
class ProgressReport {
public:
    ProgressReport(WorkerLink& link, DWORD total) : link_(link), total_(total) {}

    void Received(DWORD received)
    {
        const DWORD now = ::GetTickCount();
        if (posted_ && now - lastPost_ <= ProgressInterval && received != total_)
            return;
        link_.Post(DownloadProgress, received, total_);
        lastPost_ = now;
        posted_ = true;
    }

private:
    WorkerLink& link_;
    DWORD total_;
    DWORD lastPost_ = 0;
    bool posted_ = false;
};

} // namespace

DownloadOutcome DownloadToFile(DownloadJob& job)
{
    if (::InternetAttemptConnect(0) != ERROR_SUCCESS)
        return { DownloadNoConnection, IDS_UPDATE_CHECK_FAILED };
    try {
        std::unique_ptr<CInternetSession> session = OpenUpdateSession(job.agentName, job.timeoutMs);
        std::unique_ptr<CHttpFile> remote = OpenUpdateFile(*session, job.fileUrl, INTERNET_FLAG_TRANSFER_BINARY);
        // Without a length there is no telling a whole file from a cut one.
        DWORD total = 0;
        if (!remote->QueryContentLength(total))
            return NetworkError;

        std::unique_ptr<Sha256> hash;
        if (!job.expectedSha256.empty()) {
            hash = std::make_unique<Sha256>();
            if (!hash->IsReady())
                return FileError;
        }
        PartialFile file(job.targetPath);
        if (!file.Create())
            return FileError;
        ProgressReport progress(job.link, total);
        char buffer[BlockSize];
        DWORD received = 0;
        // A short block may come in the middle of a transfer: only 0 bytes mark the end.
        while (!job.link.CancelRequested()) {
            const UINT read = remote->Read(buffer, BlockSize);
            if (read == 0)
                break;
            if (read > total - received)
                return NetworkError;
            if (!file.Write(buffer, read) || (hash && !hash->Add(buffer, read)))
                return FileError;
            received += read;
            progress.Received(received);
        }
        if (job.link.CancelRequested())
            return { DownloadCancelled, 0 };
        if (received != total)
            return NetworkError;
        if (hash && lstrcmpiA(hash->HexDigest().c_str(), job.expectedSha256.c_str()) != 0)
            return NetworkError;
        if (!file.Commit())
            return FileError;
    } catch (const CInternetException&) {
        return NetworkError;
    }
    return { DownloadComplete, 0 };
}

UINT DownloadUpdate(void* param)
{
    const std::shared_ptr<DownloadJob> job = TakeJob<DownloadJob>(param);
    const DownloadOutcome outcome = DownloadToFile(*job);
    job->link.Post(DownloadDone, outcome.result, outcome.message);
    return 0;
}
