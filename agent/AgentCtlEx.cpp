#include "agent/AgentCtlEx.h"
#include "stage/ComObject.h"
#include "stage/StageControl.h"
#include <ole2.h>
#include <ocidl.h>

namespace {

// {D45FD31B-5C6E-11D1-9EC1-00C04FD7081F}
const CLSID CLSID_AgentControl = { 0xD45FD31B, 0x5C6E, 0x11D1, { 0x9E, 0xC1, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x1F } };

CAgentCtlEx::ControlFactory controlFactory = nullptr;

// The least a container offers an invisible control: a client site that says nothing.
class ControlSite final : public ComObject<IOleClientSite> {
public:
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override
    {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
};

// The registered control, initialised as a container would; null where it is missing.
IDispatch* CreateRegisteredControl(IUnknown** site)
{
    IDispatch* control = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AgentControl, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IDispatch, reinterpret_cast<void**>(&control))))
        return nullptr;
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        persist->InitNew();
        persist->Release();
    }
    IOleObject* object = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)))) {
        ControlSite* clientSite = new ControlSite;
        object->SetClientSite(clientSite);
        object->Release();
        *site = clientSite;
    }
    return control;
}

} // namespace

void CAgentCtlEx::SetControlFactory(ControlFactory factory)
{
    controlFactory = factory;
}

CAgentCtlEx::~CAgentCtlEx()
{
    ReleaseControl();
}

bool CAgentCtlEx::Create(const std::string& windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    ReleaseControl();
    if (!CreateEx(0, nullptr, windowName, style, rect, parent ? parent->m_hWnd : nullptr, id))
        return false;
    IDispatch* control = nullptr;
    if (controlFactory) {
        controlFactory(&control);
    } else {
        control = CreateRegisteredControl(&site_);
        if (!control)
            CreateStageControl(&control);
    }
    control_.AttachDispatch(control);
    return control != nullptr;
}

bool CAgentCtlEx::DestroyWindow()
{
    ReleaseControl();
    return CWnd::DestroyWindow();
}

// A parent that goes takes the control window with it, and with the window goes the
// control: its characters leave the screen, as a hosted control's do.
void CAgentCtlEx::PostNcDestroy()
{
    ReleaseControl();
}

void CAgentCtlEx::ReleaseControl()
{
    if (site_) {
        IOleObject* object = nullptr;
        if (control_.IsValid() &&
            SUCCEEDED(control_.GetDispatch()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)))) {
            object->Close(OLECLOSE_NOSAVE);
            object->SetClientSite(nullptr);
            object->Release();
        }
        site_->Release();
        site_ = nullptr;
    }
    control_.ReleaseDispatch();
}
