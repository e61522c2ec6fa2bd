#pragma once
#include "controls/OXBitmapButton.h"
#include "framework/Dialog.h"
#include <string>

// Asks for the greeting's recipients, one e-mail address per line, with the address book
// of the user's mail system a click away. Send turns the lines into the recipient list:
// lower-case addresses joined by ",".
class SendDialog : public CDialog {
public:
    // The dialog shows the list when it opens and rewrites it on Send.
    SendDialog(std::string& recipientList, CWnd* parent = nullptr);

    // The "Auto Display Address Book" check box; copied to the AutoAddress setting on Send.
    int autoAddress = 0;

    // Runs the address book under the wait cursor; a failure unchecks the check box and,
    // when asked to, tells the user.
    void OpenAddressBook(bool reportFailure);
    // False when the mail system is missing or failed; true when its address book ran,
    // whether or not the user chose anyone.
    bool PickFromAddressBook();
    // Adds the address as a line of its own unless the box holds it already.
    void AddAddressLine(const std::string& address);
    // Appends the line to the list being accepted if it looks like an address; otherwise
    // tells the user and answers false.
    bool AcceptAddress(const std::string& line, bool isLast);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    LRESULT OnShowWindow(WPARAM shown, LPARAM status);
    void OnTimer(UINT_PTR id);
    void OnAddressBook();
    void OnAutoAddress();
    DECLARE_MESSAGE_MAP()

private:
    std::string& recipientList_;
    // The lines accepted so far by Send; becomes the recipient list once all are.
    std::string acceptedList_;
    CWnd addressEdit_;
    COXBitmapButton addressBookButton_;
    // Keeps its check-box look; the object only gives it a bold font.
    COXBitmapButton autoAddressCheck_;

    void ShowCheckBoxInBold();
    bool PickWithLibrary(HMODULE library);
    void AddChosenAddress(const char* address);
};
