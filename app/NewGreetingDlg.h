#pragma once
#include "controls/OXStatic.h"
#include "framework/Dialog.h"
#include "greeting/NewGreetingChoice.h"
#include <string>

// Asks for every new greeting: its type, the recipient, and the sender's name and gender.
// OK stores the type, name and gender as settings, so the next greeting starts from them.
class CNewGreetingDlg : public CDialog {
public:
    static const int MaxNameLength = 50;

    explicit CNewGreetingDlg(CWnd* parent = nullptr);

    // The caller presets the user name; after OK these hold what was chosen.
    std::string gender;
    std::string greetingType;
    std::string recipientName;
    std::string userName;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnTypeChosen();
    void OnTypeDoubleClicked();
    void OnHelp();
    // Enables the recipient where the type has one, and OK while there is a user name.
    void UpdateControls();
    DECLARE_MESSAGE_MAP()

private:
    std::string SelectedType() const;

    COXStatic title_;
};

// Runs the dialog for a new greeting, preset from the choice and filling it on OK.
bool AskForNewGreeting(NewGreetingChoice& choice);
