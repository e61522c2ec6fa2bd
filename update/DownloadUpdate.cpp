#include "update/DownloadUpdate.h"
#include "framework/InternetException.h"
#include "res/resource.h"
#include "update/PartialFile.h"
#include "update/Sha256.h"
#include "update/TransferChannel.h"
#include <wininet.h>
#include <algorithm>
#include <memory>

namespace {

const DWORD BlockSize = 4096;
const DWORD ProgressInterval = 1000;
// How often the storing side looks at the cancel request while no bytes come.
const DWORD CancelPoll = 100;

const DownloadOutcome NetworkError = { DownloadFailed, IDS_UPDATE_WEB_ERROR };
const DownloadOutcome FileError = { DownloadFailed, IDS_UPDATE_FILE_ERROR };
const DownloadOutcome Damaged = { DownloadFailed, IDS_UPDATE_DAMAGED };
const DownloadOutcome TimedOut = { DownloadFailed, IDS_UPDATE_TIMED_OUT };

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

// What the reading thread needs, copied: the job may be gone before the reading ends.
struct FetchJob {
    std::string agentName;
    std::string fileUrl;
    DWORD timeoutMs;
    std::shared_ptr<TransferChannel> channel;
};

UINT FetchFile(void* param)
{
    const std::shared_ptr<FetchJob> job = TakeJob<FetchJob>(param);
    TransferChannel& channel = *job->channel;
    try {
        std::unique_ptr<CInternetSession> session = OpenUpdateSession(job->agentName, job->timeoutMs);
        std::unique_ptr<CHttpFile> remote = OpenUpdateFile(*session, job->fileUrl, INTERNET_FLAG_TRANSFER_BINARY);
        // Without a length there is no telling a whole file from a cut one, and an empty
        // file is no program.
        DWORD total = 0;
        if (!remote->QueryContentLength(total) || total == 0) {
            channel.Fail(IDS_UPDATE_WEB_ERROR);
            return 0;
        }
        channel.Opened(total);
        char buffer[BlockSize];
        // A short block may come in the middle of a transfer: only 0 bytes mark the end.
        while (const UINT read = remote->Read(buffer, BlockSize)) {
            if (!channel.Push(buffer, read))
                return 0;
        }
        channel.End();
    } catch (const CInternetException& error) {
        channel.Fail(error.m_dwError == ERROR_INTERNET_TIMEOUT ? IDS_UPDATE_TIMED_OUT : IDS_UPDATE_WEB_ERROR);
    }
    return 0;
}

} // namespace

DownloadOutcome DownloadToFile(DownloadJob& job)
{
    if (::InternetAttemptConnect(0) != ERROR_SUCCESS)
        return { DownloadNoConnection, IDS_UPDATE_CHECK_FAILED };
    auto fetch = std::make_shared<FetchJob>();
    fetch->agentName = job.agentName;
    fetch->fileUrl = job.fileUrl;
    // WinInet's own time-outs only back up the watch of StoreTransfer, which names the
    // failure.
    fetch->timeoutMs = 2 * job.timeoutMs;
    fetch->channel = std::make_shared<TransferChannel>();
    if (!StartWorker(&FetchFile, fetch))
        return NetworkError;
    return StoreTransfer(job, *fetch->channel);
}

DownloadOutcome StoreTransfer(DownloadJob& job, TransferChannel& channel)
{
    // Gives up on the channel on every way out but the end of the body.
    struct Abandoning {
        TransferChannel& channel;
        ~Abandoning() { channel.Abandon(); }
    } abandoning{ channel };

    std::unique_ptr<Sha256> hash;
    if (!job.expectedSha256.empty()) {
        hash = std::make_unique<Sha256>();
        if (!hash->IsReady())
            return FileError;
    }
    PartialFile file(job.targetPath);
    std::unique_ptr<ProgressReport> progress;
    DWORD received = 0;
    DWORD lastHeard = ::GetTickCount();
    TransferChannel::State lastState = TransferChannel::State::Opening;
    for (;;) {
        std::string bytes;
        const TransferChannel::State state = channel.Take(bytes, CancelPoll);
        if (job.link.CancelRequested())
            return { DownloadCancelled, 0 };
        if (state == TransferChannel::State::Failed)
            return { DownloadFailed, channel.FailureMessage() };
        // The reply's head counts as a sign of life as much as its bytes do.
        const DWORD now = ::GetTickCount();
        if (state != lastState)
            lastHeard = now;
        lastState = state;
        if (bytes.empty() && state != TransferChannel::State::Ended) {
            if (now - lastHeard > job.timeoutMs)
                return TimedOut;
            continue;
        }
        lastHeard = now;
        const DWORD total = channel.Total();
        if (!progress) {
            if (!file.Create())
                return FileError;
            progress = std::make_unique<ProgressReport>(job.link, total);
        }
        if (bytes.size() > total - received)
            return NetworkError;
        // Block by block, as the bytes came, so that the progress reads the same.
        for (size_t at = 0; at < bytes.size(); at += BlockSize) {
            const DWORD size = static_cast<DWORD>(std::min<size_t>(BlockSize, bytes.size() - at));
            if (!file.Write(bytes.data() + at, size) || (hash && !hash->Add(bytes.data() + at, size)))
                return FileError;
            received += size;
            progress->Received(received);
        }
        if (state == TransferChannel::State::Ended)
            break;
    }
    if (received != channel.Total())
        return NetworkError;
    if (hash && lstrcmpiA(hash->HexDigest().c_str(), job.expectedSha256.c_str()) != 0)
        return Damaged;
    if (!file.Commit())
        return FileError;
    job.savedPath = file.CommittedPath();
    return { DownloadComplete, 0 };
}

UINT DownloadUpdate(void* param)
{
    const std::shared_ptr<DownloadJob> job = TakeJob<DownloadJob>(param);
    const DownloadOutcome outcome = DownloadToFile(*job);
    job->link.Post(DownloadDone, outcome.result, outcome.message);
    return 0;
}
