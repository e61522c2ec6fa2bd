#include "HostileSite.h"
#include "UpdateTestSupport.h"
#include "res/resource.h"
#include "support/ProxySetting.h"
#include "support/StandInControl.h"
#include "update/DownloadUpdate.h"
#include "update/TransferChannel.h"
#include <functional>
#include <memory>
#include <gtest/gtest.h>

// Found by argument lookup, so in the outcome's own namespace.
static bool operator==(const DownloadOutcome& a, const DownloadOutcome& b)
{
    return a.result == b.result && a.message == b.message;
}

static void PrintTo(const DownloadOutcome& outcome, std::ostream* out)
{
    *out << "{ result " << outcome.result << ", message " << outcome.message << " }";
}

namespace {

const char FileName[] = "ParlacardSetup.exe";

// The download as its worker runs it, reporting to a window of this thread whose queue
// the test reads.
class Download : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, window);
        job = NewJob();
    }
    void TearDown() override { DestroyWindow(window); }

    std::shared_ptr<DownloadJob> NewJob()
    {
        auto made = std::make_shared<DownloadJob>(window);
        made->agentName = "Parlacard";
        made->fileUrl = UpdateAddress(FileName);
        made->targetPath = folder.File(FileName);
        return made;
    }

    // Runs the worker routine on its thread and takes its reports until DownloadDone,
    // handing each progress report to onProgress, and each pause without one to onIdle.
    DownloadOutcome RunWorker(const std::function<void(const MSG&)>& onProgress = nullptr,
                              const std::function<void()>& onIdle = nullptr, DWORD patience = 60000)
    {
        progress.clear();
        EXPECT_TRUE(StartWorker(&DownloadUpdate, job));
        for (DWORD start = GetTickCount(); GetTickCount() - start < patience;) {
            MSG message;
            if (!PeekMessageA(&message, window, DownloadProgress, DownloadDone, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
                if (onIdle)
                    onIdle();
                continue;
            }
            if (message.message == DownloadDone)
                return { static_cast<DownloadResult>(message.wParam), static_cast<UINT>(message.lParam) };
            EXPECT_EQ(DownloadProgress, message.message);
            progress.push_back(message);
            if (onProgress)
                onProgress(message);
        }
        ADD_FAILURE() << "the download did not report its end";
        return { DownloadFailed, 0 };
    }

    std::vector<std::string> FolderFiles() const { return FilesIn(folder); }

    StandInControl standIn;
    ProxySetting proxy{ standIn.Port() };
    TempFolder folder;
    HWND window = nullptr;
    std::shared_ptr<DownloadJob> job;
    std::vector<MSG> progress;
};

using Names = std::vector<std::string>;

const DownloadOutcome Complete = { DownloadComplete, 0 };
const DownloadOutcome NetworkError = { DownloadFailed, IDS_UPDATE_WEB_ERROR };
const DownloadOutcome Damaged = { DownloadFailed, IDS_UPDATE_DAMAGED };
const DownloadOutcome TimedOut = { DownloadFailed, IDS_UPDATE_TIMED_OUT };
const DownloadOutcome Cancelled = { DownloadCancelled, 0 };

} // namespace

// The stand-in sends a paced body in pieces of 1000 bytes that do not line up with the
// reader's blocks: only the end of the body may end the download.
TEST_F(Download, TheWholeFileArrivesInSmallPiecesWithAProgressReportASecond)
{
    const std::string bytes = UpdateBytes(360 * 1024 + 123);
    standIn.PublishUpdateFile(FileName, bytes);
    standIn.SetUpdateReply(FileName, "kind=serve&rate=150000");
    EXPECT_EQ(Complete, RunWorker());
    EXPECT_EQ(bytes, folder.Read(FileName));
    EXPECT_EQ(Names{ FileName }, FolderFiles());

    ASSERT_GE(progress.size(), 2u);
    EXPECT_LE(progress.front().wParam, 4096u) << "the first block reports at once";
    EXPECT_EQ(bytes.size(), progress.back().wParam);
    for (size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(static_cast<LPARAM>(bytes.size()), progress[i].lParam);
        if (i == 0)
            continue;
        EXPECT_GT(progress[i].wParam, progress[i - 1].wParam);
        // Only the report of the total may follow sooner than a second after the last.
        if (i + 1 < progress.size()) {
            EXPECT_GT(progress[i].time - progress[i - 1].time, 1000u) << "report " << i;
        }
    }
}

// The manifest names the file: a name the user's own file has must not cost it.
TEST_F(Download, ACompleteDownloadNeverReplacesAFileButTakesTheFirstFreeName)
{
    folder.Write(FileName, "the user's own file");
    folder.Write("ParlacardSetup (2).exe", "another file of the user");
    const std::string bytes = UpdateBytes(10000);
    standIn.PublishUpdateFile(FileName, bytes);
    EXPECT_EQ(Complete, DownloadToFile(*job));
    EXPECT_EQ(folder.File("ParlacardSetup (3).exe"), job->savedPath);
    EXPECT_EQ(bytes, folder.Read("ParlacardSetup (3).exe"));
    EXPECT_EQ("the user's own file", folder.Read(FileName));
    EXPECT_EQ("another file of the user", folder.Read("ParlacardSetup (2).exe"));

    // A name without an extension gets its number at the end.
    job = NewJob();
    job->fileUrl = UpdateAddress("notes");
    job->targetPath = folder.File("notes");
    folder.Write("notes", "the user's notes");
    standIn.PublishUpdateFile("notes", bytes);
    EXPECT_EQ(Complete, DownloadToFile(*job));
    EXPECT_EQ(folder.File("notes (2)"), job->savedPath);
    EXPECT_EQ("the user's notes", folder.Read("notes"));
    EXPECT_EQ((Names{ "ParlacardSetup (2).exe", "ParlacardSetup (3).exe", FileName, "notes", "notes (2)" }),
              FolderFiles());
}

// A body shorter than its Content-Length passes for a whole one in some WinInet versions.
TEST_F(Download, ACutOrUnmeasuredTransferIsANetworkErrorAndLeavesTheFolderAsItWas)
{
    folder.Write(FileName, "the user's own file");
    standIn.PublishUpdateFile(FileName, UpdateBytes(200000));
    for (const char* reply : { "kind=cut", "kind=nolength", "kind=notfound" }) {
        standIn.SetUpdateReply(FileName, reply);
        EXPECT_EQ(NetworkError, DownloadToFile(*job)) << reply;
        EXPECT_EQ("the user's own file", folder.Read(FileName)) << reply;
        EXPECT_EQ(Names{ FileName }, FolderFiles()) << reply;
    }
    job->fileUrl = UpdateAddress("NotThere.exe");
    EXPECT_EQ(NetworkError, DownloadToFile(*job));
    proxy.PointAtClosedPort();
    job->fileUrl = UpdateAddress(FileName);
    EXPECT_EQ(NetworkError, DownloadToFile(*job));
    EXPECT_EQ(Names{ FileName }, FolderFiles());
}

TEST_F(Download, TheFileMustMatchTheChecksumOfTheManifestToItsLastDigit)
{
    const std::string bytes = UpdateBytes(50000);
    standIn.PublishUpdateFile(FileName, bytes);
    std::string wrong = Sha256Of(bytes);
    wrong.back() = wrong.back() == '0' ? '1' : '0';
    for (const std::string& expected : { Sha256Of(bytes + "x"), wrong }) {
        job->expectedSha256 = expected;
        EXPECT_EQ(Damaged, DownloadToFile(*job)) << expected;
        EXPECT_EQ(Names{}, FolderFiles());
    }

    std::string upper = Sha256Of(bytes);
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    job->expectedSha256 = upper;
    EXPECT_EQ(Complete, DownloadToFile(*job));
    EXPECT_EQ(bytes, folder.Read(FileName));
}

TEST_F(Download, AFolderThatCannotTakeTheFileIsAFileError)
{
    standIn.PublishUpdateFile(FileName, UpdateBytes(1000));
    job->targetPath = folder.File("no such folder\\") + FileName;
    EXPECT_EQ((DownloadOutcome{ DownloadFailed, IDS_UPDATE_FILE_ERROR }), DownloadToFile(*job));
}

TEST_F(Download, CancelStopsAfterTheCurrentBlockAndRemovesThePartialFile)
{
    folder.Write(FileName, "the user's own file");
    standIn.PublishUpdateFile(FileName, UpdateBytes(2 * 1024 * 1024));
    standIn.SetUpdateReply(FileName, "kind=serve&rate=200000");
    EXPECT_EQ((DownloadOutcome{ DownloadCancelled, 0 }), RunWorker([&](const MSG&) {
                  // The partial file sits beside the target while the bytes come.
                  EXPECT_EQ(2u, FolderFiles().size());
                  job->link.RequestCancel();
              }));
    EXPECT_EQ(1u, progress.size());
    EXPECT_EQ("the user's own file", folder.Read(FileName));
    EXPECT_EQ(Names{ FileName }, FolderFiles());
}

// A dialog that goes while its worker runs cuts the link: the worker stops, reports to
// nobody and still cleans up after itself.
TEST_F(Download, AWorkerWhoseDialogWentStopsSilentlyAndCleansUp)
{
    standIn.PublishUpdateFile(FileName, UpdateBytes(2 * 1024 * 1024));
    standIn.SetUpdateReply(FileName, "kind=serve&rate=200000");
    ASSERT_TRUE(StartWorker(&DownloadUpdate, job));
    MSG message;
    for (DWORD start = GetTickCount();
         !PeekMessageA(&message, window, DownloadProgress, DownloadProgress, PM_REMOVE) && GetTickCount() - start < 20000;)
        Sleep(20);
    ASSERT_EQ(DownloadProgress, message.message);
    job->link.Cut();
    // The worker lets go of its share when it ends.
    for (DWORD start = GetTickCount(); job.use_count() > 1 && GetTickCount() - start < 20000;)
        Sleep(20);
    EXPECT_EQ(1, job.use_count());
    EXPECT_EQ(Names{}, FolderFiles());
    EXPECT_FALSE(PeekMessageA(&message, window, DownloadDone, DownloadDone, PM_REMOVE));
}

// Sites that misbehave on purpose; each case ends at once, with a message that says what
// happened and nothing left in the folder.
class HostileDownload : public Download {
protected:
    void SetUp() override
    {
        Download::SetUp();
        proxy.PointAt(site.Port());
        folder.Write(FileName, "the user's own file");
    }

    void ExpectFolderAsItWas()
    {
        EXPECT_EQ("the user's own file", folder.Read(FileName));
        EXPECT_EQ(Names{ FileName }, FolderFiles());
    }

    HostileSite site;
    const std::string bytes = UpdateBytes(20000);
};

TEST_F(HostileDownload, AnEmptyFileIsAFailedDownload)
{
    site.SetReply(HostileSite::Reply());
    EXPECT_EQ(NetworkError, DownloadToFile(*job));
    ExpectFolderAsItWas();
}

// The connection closes cleanly after half of the announced bytes: no error from the
// network, yet no whole file.
TEST_F(HostileDownload, AConnectionThatEndsCleanlyBeforeTheAnnouncedLengthIsANetworkError)
{
    site.SetReply(HostileSite::EndEarly(bytes, bytes.size() / 2));
    EXPECT_EQ(NetworkError, DownloadToFile(*job));
    EXPECT_EQ(1, site.Requests());
    ExpectFolderAsItWas();
}

// A site that sends a byte a tenth of a second would take minutes for a block.
TEST_F(HostileDownload, CancelEndsATrickleAtOnceAndLeavesNoFile)
{
    site.SetReply(HostileSite::Trickle(bytes, 100));
    bool cancelled = false;
    EXPECT_EQ(Cancelled, RunWorker(nullptr,
                                   [&] {
                                       if (!cancelled && site.Requests() == 1) {
                                           job->link.RequestCancel();
                                           cancelled = true;
                                       }
                                   },
                                   10000));
    ExpectFolderAsItWas();
}

TEST_F(HostileDownload, ASiteSilentForTheTimeOutEndsTheDownloadAsTimedOut)
{
    job->timeoutMs = 1500;
    site.SetReply(HostileSite::Stall(bytes, 1000));
    EXPECT_EQ(TimedOut, RunWorker(nullptr, nullptr, 15000));
    ExpectFolderAsItWas();
}

TEST_F(HostileDownload, ARedirectLoopEndsAfterAFewRequests)
{
    proxy.PointAt(standIn.Port());
    standIn.SetUpdateReply(FileName, std::string("kind=redirect&to=") + FileName);
    EXPECT_EQ(NetworkError, RunWorker(nullptr, nullptr, 15000));
    ExpectFolderAsItWas();
}

// The storing half on its own, fed by the test: whatever the network layer below lets
// through, a body shorter than announced never takes a name in the folder.
TEST_F(Download, ABodyThatEndsShortOfItsLengthNeverReachesTheFolder)
{
    TransferChannel channel;
    channel.Opened(1000);
    const std::string half(500, 'x');
    ASSERT_TRUE(channel.Push(half.data(), half.size()));
    channel.End();
    EXPECT_EQ(NetworkError, StoreTransfer(*job, channel));
    EXPECT_EQ(Names{}, FolderFiles());

    TransferChannel whole;
    whole.Opened(1000);
    ASSERT_TRUE(whole.Push(half.data(), half.size()));
    ASSERT_TRUE(whole.Push(half.data(), half.size()));
    whole.End();
    EXPECT_EQ(Complete, StoreTransfer(*job, whole));
    EXPECT_EQ(half + half, folder.Read(FileName));
}
