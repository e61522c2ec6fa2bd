#pragma once
#include "framework/Wnd.h"
#include <vector>

class CControlBar;
class CView;
class CDocument;
struct CCreateContext;

// Frame style: the title shows the document's name before the application's.
#define FWS_ADDTOTITLE 0x00008000L

// The main window: menu, accelerators, title, and the document's view in its client area.
// Commands go to the active view (and its document) first, then the frame, then the
// application.
class CFrameWnd : public CWnd {
public:
    // Creates the frame with the menu, accelerators, icon and title of the resource id.
    virtual bool LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context);

    CView* GetActiveView() const { return activeView_; }
    void SetActiveView(CView* view);
    CDocument* GetActiveDocument() const;

    virtual void InitialUpdateFrame(CDocument* doc, bool makeVisible);
    virtual void OnUpdateFrameTitle();
    // Places the bars along their edges and the view in what is left.
    virtual void RecalcLayout();
    // A bar of this frame, placed and updated by it; the derived frame owns it.
    void AddControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id) const;
    // The status bar's message pane shows the prompt of a command (0: the idle message).
    void SetMessageText(UINT id);
    void SetMessageText(const std::string& text);

    bool OnCmdMsg(UINT id, UINT code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    bool PreTranslateMessage(MSG* msg) override;
    bool PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    virtual bool OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context);
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnInitMenuPopup(HMENU menu, UINT index, bool sysMenu);
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    void OnToolTipText(NMHDR* header, LRESULT* result);
    void OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* ui);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

    std::string m_strTitle;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;

private:
    bool OpenMenuOfKey(const MSG* msg);

    CView* activeView_ = nullptr;
    std::vector<CControlBar*> bars_;
    std::string tipText_;
    CCreateContext* creatingContext_ = nullptr;
};
