#pragma once
#include "controls/VersionNumber.h"
#include "framework/Dialog.h"
#include "update/NewsTextView.h"
#include <windows.h>
#include <richedit.h>
#include <string>

// Shows the update's news document (rich text) with one heading above the first section
// for a version newer than the program and one above the first section for a version
// the program already has: the sections start at paragraphs holding "@@Version" and a
// version, and those paragraphs give way to the headings. The caller shows only news
// that IsPlainNews accepts.
class NewsDialog : public CDialog {
public:
    NewsDialog(const std::string& newsText, const std::string& newChangesHeading,
               const std::string& oldChangesHeading, const VersionNumber& programVersion, CWnd* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    static DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* handed);

    std::string newsText_;
    NewsTextView textView_;
    size_t streamPosition_ = 0;
    bool streamEnded_ = false;
};
