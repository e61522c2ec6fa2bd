#pragma once
#include "controls/VersionNumber.h"
#include "framework/Dialog.h"
#include <windows.h>
#include <richedit.h>
#include <string>

// Shows the update's news document (rich text) with one heading above the first section
// for a version newer than the program and one above the first section for a version
// the program already has: the sections start at lines holding "@@Version" and a
// version, and those lines give way to the headings.
class NewsDialog : public CDialog {
public:
    NewsDialog(const std::string& newsText, const std::string& newChangesHeading,
               const std::string& oldChangesHeading, const VersionNumber& programVersion, CWnd* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    static DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* handed);
    void PlaceHeadings(HWND edit);
    std::string TextRange(HWND edit, LONG first, LONG end) const;

    std::string newsText_;
    std::string newChangesHeading_;
    std::string oldChangesHeading_;
    VersionNumber programVersion_;
    size_t streamPosition_ = 0;
    bool streamEnded_ = false;
    bool newHeadingPlaced_ = false;
    bool oldHeadingPlaced_ = false;
};
