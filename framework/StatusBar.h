#pragma once
#include "framework/ControlBar.h"
#include <string>
#include <vector>

// The frame's status bar: a message pane that takes the free width, then indicator panes
// (Caps Lock, Num Lock, Scroll Lock) sized to their texts and shown while the key is on.
class CStatusBar : public CControlBar {
public:
    bool Create(CWnd* parent, UINT id);
    // The pane ids: the first is the message pane (0); the others are string ids whose
    // text the pane shows while its key is on.
    bool SetIndicators(const std::vector<UINT>& ids);

    void SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;

    void PlaceIn(RECT& remaining) override;
    void OnUpdateCmdUI(CFrameWnd* target) override;

private:
    std::vector<UINT> ids_;
    std::vector<std::string> indicatorTexts_;
    void SizePanes();
};
