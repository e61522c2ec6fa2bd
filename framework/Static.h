#pragma once
#include "framework/Wnd.h"

class CDataExchange;

// A static control of a dialog. Attaching it through SubclassWindow, SubclassDlgItem or
// DDX_Control lets a derived control prepare itself (PreSubclassWindow) and answer the
// colour request that the control sends its parent (CtlColor).
class CStatic : public CWnd {
public:
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);

protected:
    // Runs once the control is attached.
    virtual void PreSubclassWindow() {}
    // Text colour and background brush for painting this control; nullptr leaves the
    // request to the parent.
    virtual HBRUSH CtlColor(HDC dc) { return nullptr; }

private:
    static LRESULT CALLBACK ReflectColourRequest(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR data);
};

// Chosen over the CWnd overload for static controls, so that their attach hook runs.
void DDX_Control(CDataExchange* dx, int id, CStatic& control);
