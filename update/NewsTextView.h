#pragma once
#include "framework/Wnd.h"

// The news dialog's rich edit: read-only text that keeps the focus for scrolling but
// never shows a caret, since nothing can be typed there, and whose text keeps clear of
// its border.
class NewsTextView : public CWnd {
protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
