#pragma once
#include "framework/ControlBar.h"
#include <commctrl.h>
#include <vector>

// The frame's toolbar: flat buttons from a toolbar resource (button size and command ids)
// and the bitmap of the same id. The frame gives the tool tips; the status bar shows the
// prompt of the button under the pointer.
class CToolBar : public CControlBar {
public:
    ~CToolBar() override;
    bool Create(CWnd* parent, UINT id);
    bool LoadToolBar(UINT resourceId);

    int GetButtonCount() const;
    UINT GetItemID(int index) const;
    bool IsButtonEnabled(UINT id) const;
    bool IsButtonChecked(UINT id) const;

    void PlaceIn(RECT& remaining) override;
    void OnUpdateCmdUI(CFrameWnd* target) override;

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // The buttons' images; the toolbar control does not free an image list it is given.
    HIMAGELIST images_ = nullptr;
};
