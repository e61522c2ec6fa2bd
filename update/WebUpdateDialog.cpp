#include "update/WebUpdateDialog.h"
#include "controls/VersionInfo.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "settings/SiteInfo.h"
#include "update/DesktopFolder.h"
#include "update/NewsDialog.h"
#include "update/NewsDocument.h"
#include <climits>
#include <cstdarg>
#include <cstdio>

namespace {

const char ReadyCaption[] = "Update ready for installation";
const char ReadyText[] = "Please install the update at your convenience.\n"
                         "Exit this program and execute the file called \"%s\",\n"
                         "located on your Windows Desktop.\n\n"
                         "After installing, you may delete this file or move it to a different location.";
const char NewsNotShown[] = "The news cannot be shown: the rich text control is missing.";

// printf-style formatting of a text with %s and %d in it.
std::string Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, arguments);
    va_end(arguments);
    return text;
}

// The manifest writes a line break inside a heading as backslash and "n".
std::string ExpandLineBreaks(const std::string& heading)
{
    std::string text;
    for (size_t i = 0; i < heading.size(); ++i) {
        if (heading[i] == '\\' && i + 1 < heading.size() && heading[i + 1] == 'n') {
            text += "\r\n";
            ++i;
        } else {
            text += heading[i];
        }
    }
    return text;
}

// The progress bar's range is a signed 32-bit number.
int ProgressUnits(DWORD bytes, DWORD total)
{
    return static_cast<int>(total > static_cast<DWORD>(INT_MAX) ? bytes / 2 : bytes);
}

} // namespace

BEGIN_MESSAGE_MAP(WebUpdateDialog, CDialog)
    ON_WM_DESTROY()
    ON_MESSAGE(UpdateCheckDone, OnUpdateCheckDone)
    ON_MESSAGE(DownloadProgress, OnDownloadProgress)
    ON_MESSAGE(DownloadDone, OnDownloadDone)
    ON_BN_CLICKED(IDC_NEWS_LINK, OnNewsLink)
    ON_BN_CLICKED(IDC_DOWNLOAD_LINK, OnDownloadLink)
END_MESSAGE_MAP()

WebUpdateDialog::WebUpdateDialog(CWnd* parent) : CDialog(IDD_WEB_UPDATE, parent) {}

WebUpdateDialog::~WebUpdateDialog()
{
    CutWorkers();
}

void WebUpdateDialog::RunWebUpdate()
{
    manifestUrl_ = ReadSiteAddress(UpdateManifestAddress);
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    programPath_.assign(path, length < MAX_PATH ? length : 0);
    DoModal();
    if (downloadPath_.empty())
        return;
    const std::string name = downloadPath_.substr(downloadPath_.find_last_of('\\') + 1);
    ShowMessageBox(nullptr, Format(ReadyText, name.c_str()), ReadyCaption,
                   MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void WebUpdateDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_UPDATE_STATUS, statusText_);
    DDX_Control(dx, IDC_NEWS_LINK, newsLink_);
    DDX_Control(dx, IDC_DOWNLOAD_LINK, downloadLink_);
}

bool WebUpdateDialog::OnInitDialog()
{
    if (agentName_.empty())
        agentName_ = LoadResourceString(AFX_IDS_APP_TITLE);
    // A program file without a version resource counts as 0.0.0.0.
    info_.programVersion = VersionNumber();
    VersionInfo(programPath_).GetFixedFileVersion(info_.programVersion);
    statusText_ = LoadResourceString(IDS_UPDATE_CHECKING);
    CDialog::OnInitDialog();
    StartCheck();
    return true;
}

void WebUpdateDialog::StartCheck()
{
    checkJob_ = std::make_shared<UpdateCheckJob>(m_hWnd);
    checkJob_->agentName = agentName_;
    checkJob_->manifestUrl = manifestUrl_;
    checkJob_->info.programVersion = info_.programVersion;
    busy_ = true;
    if (!StartWorker(&FetchUpdateInfo, checkJob_))
        PostMessage(UpdateCheckDone, CheckFailed, 0);
}

void WebUpdateDialog::OnDestroy()
{
    // The window is gone and its handle may soon name another one.
    CutWorkers();
    // Taken away with its owner: a download still running never completed.
    if (busy_)
        downloadPath_.clear();
    Default();
}

void WebUpdateDialog::CutWorkers()
{
    if (checkJob_)
        checkJob_->link.Cut();
    if (downloadJob_)
        downloadJob_->link.Cut();
}

void WebUpdateDialog::SetStatus(const std::string& text)
{
    statusText_ = text;
    UpdateData(false);
}

void WebUpdateDialog::ShowCloseButton(bool close)
{
    const int shown = close ? IDOK : IDCANCEL;
    const int hidden = close ? IDCANCEL : IDOK;
    ::ShowWindow(GetDlgItem(hidden), SW_HIDE);
    ::ShowWindow(GetDlgItem(shown), SW_SHOW);
    SendMessage(DM_SETDEFID, shown);
    ::SendMessageA(GetDlgItem(hidden), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    const LONG style = ::GetWindowLongA(GetDlgItem(shown), GWL_STYLE);
    ::SendMessageA(GetDlgItem(shown), BM_SETSTYLE, (style & 0xFF & ~BS_TYPEMASK) | BS_DEFPUSHBUTTON, TRUE);
}

void WebUpdateDialog::ShowLinksArea(bool show)
{
    for (int id : { IDC_UPDATE_LINKS_GROUP, IDC_UPDATE_LINKS_ICON, IDC_UPDATE_LINKS_TEXT })
        ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
}

std::string WebUpdateDialog::AvailableText() const
{
    return Format(LoadResourceString(IDS_UPDATE_AVAILABLE).c_str(), info_.manifest.versionToDisplay.c_str(),
                  info_.manifest.releaseDate.c_str(), info_.manifest.fileSize.c_str());
}

void WebUpdateDialog::OnOK()
{
    // Enter reaches here too: the dialog must not go while a worker reports to it.
    if (!busy_)
        CDialog::OnOK();
}

void WebUpdateDialog::OnCancel()
{
    if (!busy_) {
        EndDialog(IDCANCEL);
        return;
    }
    cancelRequested_ = true;
    if (downloadJob_)
        downloadJob_->link.RequestCancel();
    SetStatus(LoadResourceString(IDS_UPDATE_CANCELLING));
}

LRESULT WebUpdateDialog::OnUpdateCheckDone(WPARAM result, LPARAM)
{
    busy_ = false;
    ShowCloseButton(true);
    if (cancelRequested_) {
        EndDialog(IDOK);
        return 0;
    }
    if (result != CheckComplete) {
        SetStatus(LoadResourceString(IDS_UPDATE_CHECK_FAILED));
        return 0;
    }
    // The worker wrote the information before it posted, and writes nothing after.
    info_ = checkJob_->info;
    const UpdateManifest& manifest = info_.manifest;

    ShowLinksArea(true);
    newsLink_.ChangeLinkStyle(0, LinkHoverColour, true);
    newsLink_.SetLinkText(Format(LoadResourceString(IDS_UPDATE_NEWS_LINK).c_str(), manifest.newsDate.c_str()));
    // Never opened: the address only shows as the link's tool tip.
    newsLink_.SetLinkUrl(LoadResourceString(IDS_UPDATE_NEWS_TIP));
    newsLink_.ShowWindow(SW_SHOW);
    if (!info_.updateAvailable) {
        SetStatus(Format(LoadResourceString(IDS_UPDATE_NONE).c_str(), manifest.newsDate.c_str()));
        return 0;
    }
    ::ShowWindow(GetDlgItem(IDC_PROGRESS_LABEL), SW_SHOW);
    ::ShowWindow(GetDlgItem(IDC_DOWNLOAD_PROGRESS), SW_SHOW);
    downloadLink_.ChangeLinkStyle(0, LinkHoverColour, true);
    downloadLink_.SetLinkText(Format(LoadResourceString(IDS_UPDATE_DOWNLOAD_LINK).c_str(), manifest.fileSize.c_str()));
    downloadLink_.SetLinkUrl(manifest.fileUrl);
    downloadLink_.ShowWindow(SW_SHOW);
    SetStatus(AvailableText());
    return 0;
}

void WebUpdateDialog::OnNewsLink()
{
    // The rich edit control has crashed on some documents: it sees only plain news.
    if (!IsPlainNews(info_.newsText)) {
        AfxMessageBox(IDS_UPDATE_NEWS_REFUSED, MB_OK | MB_ICONWARNING);
        return;
    }
    NewsDialog news(info_.newsText, ExpandLineBreaks(info_.manifest.newChangesText),
                    ExpandLineBreaks(info_.manifest.oldChangesText), info_.programVersion);
    if (news.DoModal() == -1)
        AfxMessageBox(NewsNotShown, MB_OK | MB_ICONWARNING);
}

void WebUpdateDialog::OnDownloadLink()
{
    if (busy_)
        return;
    // The name was checked with the manifest; a Desktop the shell cannot name is no
    // place to promise the user.
    const std::string desktop = DesktopFolder();
    const std::string name = DownloadFileName(info_.manifest.fileUrl);
    if (desktop.empty() || name.empty()) {
        AfxMessageBox(IDS_UPDATE_FILE_ERROR, MB_OK | MB_ICONWARNING);
        return;
    }
    downloadPath_ = desktop + "\\" + name;
    cancelRequested_ = false;
    progressRangeSet_ = false;
    ShowCloseButton(false);

    downloadJob_ = std::make_shared<DownloadJob>(m_hWnd);
    downloadJob_->agentName = agentName_;
    downloadJob_->fileUrl = info_.manifest.fileUrl;
    downloadJob_->expectedSha256 = info_.manifest.fileSha256;
    downloadJob_->targetPath = downloadPath_;
    busy_ = true;
    if (!StartWorker(&DownloadUpdate, downloadJob_))
        PostMessage(DownloadDone, DownloadFailed, IDS_UPDATE_WEB_ERROR);
}

LRESULT WebUpdateDialog::OnDownloadProgress(WPARAM received, LPARAM total)
{
    const DWORD totalBytes = static_cast<DWORD>(total);
    HWND bar = GetDlgItem(IDC_DOWNLOAD_PROGRESS);
    if (!progressRangeSet_) {
        ::SendMessageA(bar, PBM_SETRANGE32, 0, ProgressUnits(totalBytes, totalBytes));
        progressRangeSet_ = true;
    }
    // In 64 bits: a product of 32 bits overflows past 42.9 MB.
    const unsigned percent = totalBytes ? static_cast<unsigned>(static_cast<ULONGLONG>(received) * 100 / totalBytes) : 100;
    SetDlgItemText(IDC_PROGRESS_LABEL, Format(LoadResourceString(IDS_UPDATE_PROGRESS).c_str(), percent));
    ::SendMessageA(bar, PBM_SETPOS, ProgressUnits(static_cast<DWORD>(received), totalBytes), 0);
    return 0;
}

LRESULT WebUpdateDialog::OnDownloadDone(WPARAM result, LPARAM message)
{
    busy_ = false;
    if (result == DownloadComplete) {
        // The worker set it before it posted: a free variant where the name was taken.
        downloadPath_ = downloadJob_->savedPath;
        statusText_ = LoadResourceString(IDS_UPDATE_DOWNLOADED);
        ShowLinksArea(false);
        for (int id : { IDC_PROGRESS_LABEL, IDC_DOWNLOAD_PROGRESS, IDC_NEWS_LINK, IDC_DOWNLOAD_LINK })
            ::ShowWindow(GetDlgItem(id), SW_HIDE);
    } else {
        SetDlgItemText(IDC_PROGRESS_LABEL, LoadResourceString(IDS_UPDATE_PROGRESS_LABEL));
        // The worker removed its partial file; a file of the same name is not ours.
        if (result == DownloadCancelled) {
            ::SendMessageA(GetDlgItem(IDC_DOWNLOAD_PROGRESS), PBM_SETPOS, 0, 0);
            statusText_ = AvailableText();
        }
    }
    ShowCloseButton(true);
    SetStatus(statusText_);
    if (result == DownloadComplete) {
        EndDialog(IDOK);
        return 0;
    }
    downloadPath_.clear();
    // Shown once the dialog is back in its state, so that the box leaves it usable.
    if (message)
        AfxMessageBox(static_cast<UINT>(message), MB_OK | MB_ICONWARNING);
    return 0;
}
