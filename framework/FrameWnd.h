#pragma once
#include "framework/Wnd.h"

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
    // Places the view (and later the bars) in the client area.
    virtual void RecalcLayout();

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
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

    std::string m_strTitle;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;

private:
    CView* activeView_ = nullptr;
    CCreateContext* creatingContext_ = nullptr;
};
