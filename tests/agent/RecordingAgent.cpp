#include "RecordingAgent.h"
#include "stage/ComObject.h"

RecordingAgent* RecordingAgent::current = nullptr;

namespace {

enum class Kind { Control, Characters, Character, Balloon, Request, Names };

std::string Text(const VARIANT& value)
{
    VARIANT copy;
    VariantInit(&copy);
    if (value.vt == VT_EMPTY || value.vt == VT_ERROR)
        return "";
    if (value.vt == VT_BOOL)
        return value.boolVal ? "true" : "false";
    if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(&value), 0, VT_BSTR)))
        return "?";
    char buffer[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, copy.bstrVal, -1, buffer, sizeof(buffer), nullptr, nullptr);
    VariantClear(&copy);
    return buffer;
}

class NameEnumerator final : public ComObject<IEnumVARIANT> {
public:
    explicit NameEnumerator(RecordingAgent& agent) : agent_(agent) { ++agent_.liveObjects; }
    ~NameEnumerator() override { --agent_.liveObjects; }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override
    {
        ULONG done = 0;
        while (done < count && next_ < agent_.animationNames.size()) {
            const std::string& name = agent_.animationNames[next_++];
            const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
            VariantInit(&items[done]);
            items[done].vt = VT_BSTR;
            items[done].bstrVal = SysAllocStringLen(nullptr, length - 1);
            MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, items[done].bstrVal, length);
            ++done;
        }
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        next_ += count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    RecordingAgent& agent_;
    size_t next_ = 0;
};

class RecordingObject final : public ComObject<IDispatch> {
public:
    RecordingObject(RecordingAgent& agent, Kind kind) : agent_(agent), kind_(kind) { ++agent_.liveObjects; }
    ~RecordingObject() override { --agent_.liveObjects; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        // Arguments arrive last first.
        auto arg = [&](UINT i) { return Text(params->rgvarg[params->cArgs - 1 - i]); };
        auto record = [&](const std::string& call) { agent_.calls.push_back(call); };
        auto giveObject = [&](Kind kind) {
            if (result) {
                result->vt = VT_DISPATCH;
                result->pdispVal = new RecordingObject(agent_, kind);
            }
            return S_OK;
        };
        auto giveLong = [&](long value) {
            if (result) {
                result->vt = VT_I4;
                result->lVal = value;
            }
            return S_OK;
        };
        const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
        switch (kind_) {
        case Kind::Control:
            if (id == 3) return giveObject(Kind::Characters);
            if (id == 21 && put) { record("RaiseRequestErrors=" + arg(0)); return S_OK; }
            break;
        case Kind::Characters:
            if (id == 1) { record("Load(" + arg(0) + "," + arg(1) + ")"); return giveObject(Kind::Request); }
            if (id == 2) { record("Unload(" + arg(0) + ")"); return DISP_E_EXCEPTION; }
            if (id == 3) return giveObject(Kind::Character);
            break;
        case Kind::Character:
            if (id == 5) return giveLong(agent_.height);
            if (id == 6) return giveLong(agent_.width);
            if (id == 13) { record("Play(" + arg(0) + ")"); return giveObject(Kind::Request); }
            if (id == 15) { record("Speak(" + arg(0) + "," + arg(1) + ")"); return giveObject(Kind::Request); }
            if (id == 18) { record("MoveTo(" + arg(0) + "," + arg(1) + "," + arg(2) + ")"); return giveObject(Kind::Request); }
            if (id == 19) { record("Hide(" + arg(0) + ")"); return giveObject(Kind::Request); }
            if (id == 20) { record("Show(" + arg(0) + ")"); return giveObject(Kind::Request); }
            if (id == 23) return giveObject(Kind::Balloon);
            if (id == 31) { record("StopAll(" + arg(0) + ")"); return S_OK; }
            if (id == 43 && put) { record("LanguageID=" + arg(0)); return S_OK; }
            if (id == 54) return giveObject(Kind::Names);
            break;
        case Kind::Balloon:
            if (id == 16 && put) { record("Balloon.Style=" + arg(0)); return S_OK; }
            break;
        case Kind::Request:
            if (id == 1) return giveLong(agent_.loadStatus);
            break;
        case Kind::Names:
            if (id == DISPID_NEWENUM) {
                if (!agent_.enumeratorAvailable) return E_NOTIMPL;
                ++agent_.enumerations;
                if (result) {
                    result->vt = VT_UNKNOWN;
                    result->punkVal = new NameEnumerator(agent_);
                }
                return S_OK;
            }
            break;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    RecordingAgent& agent_;
    Kind kind_;
};

} // namespace

IDispatch* RecordingAgent::CreateControl()
{
    return new RecordingObject(*this, Kind::Control);
}

HRESULT RecordingAgent::Factory(IDispatch** control)
{
    *control = current ? current->CreateControl() : nullptr;
    return *control ? S_OK : E_FAIL;
}
