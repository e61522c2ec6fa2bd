#pragma once
#include "framework/Wnd.h"

class CDocument;
class CFrameWnd;

// Shows a document inside a frame; commands reach the document through it.
class CView : public CWnd {
public:
    CDocument* m_pDocument = nullptr;

    ~CView() override;

    virtual bool Create(CFrameWnd* frame, UINT id);
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnInitialUpdate();
    // The document changed; the view refreshes what it shows.
    virtual void OnUpdate(CView* sender, LPARAM hint);
    virtual void OnDraw(HDC dc);
    // The frame is about to lose (false) the activation to the other window (or to none); a
    // view with controls keeps the focused one to give it back.
    virtual void OnActivateFrame(bool active, HWND other);

    bool OnCmdMsg(UINT id, UINT code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    void OnPaint();
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()
};
