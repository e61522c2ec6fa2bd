#include "update/FetchUpdateInfo.h"
#include "framework/InternetException.h"
#include <wininet.h>

namespace {

// Far beyond any real manifest or news document; a server that sends more is broken or
// hostile, and its reply must not fill the memory.
const size_t MaxManifestSize = 64 * 1024;
const size_t MaxNewsSize = 4 * 1024 * 1024;

// Hands the reply's lines (without their line ends) to take; false when the reply is
// longer than maxSize.
template <class Take> bool ReadLines(CHttpFile& file, size_t maxSize, Take take)
{
    size_t size = 0;
    std::string line;
    while (file.ReadString(line, maxSize + 1)) {
        size += line.size() + 1;
        if (size > maxSize + 1)
            return false;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        take(line);
    }
    return true;
}

} // namespace

CheckResult CheckForUpdate(const std::string& agentName, const std::string& manifestUrl, UpdateInfo& info,
                           DWORD timeoutMs)
{
    if (::InternetAttemptConnect(0) != ERROR_SUCCESS)
        return CheckFailed;
    try {
        std::unique_ptr<CInternetSession> session = OpenUpdateSession(agentName, timeoutMs);
        UpdateManifest manifest;
        std::unique_ptr<CHttpFile> file = OpenUpdateFile(*session, manifestUrl, INTERNET_FLAG_TRANSFER_ASCII);
        if (!ReadLines(*file, MaxManifestSize, [&](const std::string& line) { manifest.ReadLine(line); }))
            return CheckFailed;
        file->Close();
        if (!manifest.HasAllValues() || !manifest.HasSoundValues())
            return CheckFailed;
        info.manifest = manifest;
        info.updateAvailable = VersionNumber(manifest.latestVersion).CompareVersion(info.programVersion) >= 2;

        info.newsText.clear();
        file = OpenUpdateFile(*session, manifest.descriptionUrl, INTERNET_FLAG_TRANSFER_ASCII);
        if (!ReadLines(*file, MaxNewsSize, [&](const std::string& line) { info.newsText += line + "\n"; }))
            return CheckFailed;
    } catch (const CInternetException&) {
        return CheckFailed;
    }
    return CheckComplete;
}

UINT FetchUpdateInfo(void* param)
{
    const std::shared_ptr<UpdateCheckJob> job = TakeJob<UpdateCheckJob>(param);
    const CheckResult result = CheckForUpdate(job->agentName, job->manifestUrl, job->info);
    job->link.Post(UpdateCheckDone, result, 0);
    return 0;
}
