#pragma once
#include "controls/HyperLinkDL.h"
#include "framework/Dialog.h"
#include "update/DownloadUpdate.h"
#include "update/FetchUpdateInfo.h"
#include <memory>
#include <string>

// "Download Program Update": checks the site for a newer release as soon as it opens,
// then offers the news and, when there is one, the download of the update to the
// Desktop with a progress bar. Workers do the network part; while one runs, the dialog
// cannot be ended (Cancel asks the worker to stop), and a worker left running by a
// dialog that went anyway reports to nobody.
class WebUpdateDialog : public CDialog {
public:
    explicit WebUpdateDialog(CWnd* parent = nullptr);
    ~WebUpdateDialog() override;

    // Reads the manifest address from the settings, runs the dialog and, after a
    // complete download, tells the user where the update is.
    void RunWebUpdate();

    // The file on the Desktop after a complete download; empty otherwise.
    const std::string& GetDownloadPath() const { return downloadPath_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy();
    LRESULT OnUpdateCheckDone(WPARAM result, LPARAM);
    LRESULT OnDownloadProgress(WPARAM received, LPARAM total);
    LRESULT OnDownloadDone(WPARAM result, LPARAM message);
    void OnNewsLink();
    void OnDownloadLink();
    DECLARE_MESSAGE_MAP()

private:
    void StartCheck();
    void SetStatus(const std::string& text);
    // Close in place of Cancel, as the default button, or the other way round.
    void ShowCloseButton(bool close);
    void ShowLinksArea(bool show);
    std::string AvailableText() const;
    void CutWorkers();

    std::string manifestUrl_;
    std::string programPath_;
    std::string agentName_;
    std::string statusText_;
    std::string downloadPath_;
    UpdateInfo info_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    bool progressRangeSet_ = false;
    CHyperLinkDL newsLink_;
    CHyperLinkDL downloadLink_;
    std::shared_ptr<UpdateCheckJob> checkJob_;
    std::shared_ptr<DownloadJob> downloadJob_;
};
