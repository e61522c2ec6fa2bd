#pragma once
#include "agent/AgentDispatch.h"
#include "framework/Wnd.h"

// The hidden window that hosts the character control. Where the control is not
// registered, the built-in character stage takes its place behind the same automation
// calls, so nothing above this class can tell the two apart.
class CAgentCtlEx : public CWnd {
public:
    using ControlFactory = HRESULT (*)(IDispatch** control);

    ~CAgentCtlEx() override;

    bool Create(const std::string& windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    bool DestroyWindow() override;

    const AgentControl& GetControl() const { return control_; }

    // Replaces how the control object is made (tests record the calls with their own);
    // nullptr restores the system's control with the stage as fallback.
    static void SetControlFactory(ControlFactory factory);

protected:
    void PostNcDestroy() override;

private:
    AgentControl control_;
    IUnknown* site_ = nullptr;
    void ReleaseControl();
};
