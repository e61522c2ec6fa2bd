#include "RecordingVoice.h"
#include "stage/AutomationText.h"
#include "stage/ComObject.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

const char kProgramId[] = "SAPI.SpVoice";
const char kClassKey[] = "Software\\Classes\\SAPI.SpVoice\\CLSID";
// {6F1E3A52-9C4D-4B7E-A1D2-3C5B7E9F0A14}: this recorder, and nothing else.
const CLSID kRecorderClass = { 0x6F1E3A52, 0x9C4D, 0x4B7E, { 0xA1, 0xD2, 0x3C, 0x5B, 0x7E, 0x9F, 0x0A, 0x14 } };
const char kRecorderClassText[] = "{6F1E3A52-9C4D-4B7E-A1D2-3C5B7E9F0A14}";

std::vector<RecordingVoice::Installed> installed;
std::vector<RecordingVoice::Call> calls;

enum : DISPID { kSpeak = 1, kGetVoices, kVoice, kCount, kItem = DISPID_VALUE };

const struct {
    const wchar_t* name;
    DISPID id;
} kNames[] = { { L"Speak", kSpeak }, { L"GetVoices", kGetVoices }, { L"Voice", kVoice },
               { L"Count", kCount }, { L"Item", kItem } };

// Each recorded object answers only the ids meant for it; the names are shared.
class Recorded : public ComObject<IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1)
            return DISP_E_UNKNOWNNAME;
        for (const auto& known : kNames)
            if (::lstrcmpiW(known.name, names[0]) == 0) {
                ids[0] = known.id;
                return S_OK;
            }
        return DISP_E_UNKNOWNNAME;
    }
};

// The argument at a position from the first, as given (arguments come last first).
const VARIANT& Argument(const DISPPARAMS& parameters, UINT position)
{
    return parameters.rgvarg[parameters.cArgs - 1 - position];
}

class Token : public Recorded {
public:
    explicit Token(std::string name) : name(std::move(name)) {}
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    const std::string name;
};

class Tokens : public Recorded {
public:
    explicit Tokens(std::vector<std::string> names) : names_(std::move(names)) {}
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        ::VariantInit(result);
        if (id == kCount) {
            result->vt = VT_I4;
            result->lVal = long(names_.size());
            return S_OK;
        }
        if (id != kItem || parameters->cArgs != 1)
            return DISP_E_MEMBERNOTFOUND;
        VARIANT index;
        ::VariantInit(&index);
        if (FAILED(::VariantChangeType(&index, const_cast<VARIANT*>(&Argument(*parameters, 0)), 0, VT_I4)) || index.lVal < 0 ||
            size_t(index.lVal) >= names_.size())
            return E_INVALIDARG;
        result->vt = VT_DISPATCH;
        result->pdispVal = new Token(names_[index.lVal]);
        return S_OK;
    }

private:
    std::vector<std::string> names_;
};

// Every attribute asked for ("A=x;B=y") is among the voice's.
bool Matches(const std::string& attributes, const std::string& wanted)
{
    size_t start = 0;
    while (start < wanted.size()) {
        size_t end = wanted.find(';', start);
        if (end == std::string::npos)
            end = wanted.size();
        const std::string one = wanted.substr(start, end - start);
        if ((";" + attributes + ";").find(";" + one + ";") == std::string::npos)
            return false;
        start = end + 1;
    }
    return true;
}

class Voice : public Recorded {
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        if (result)
            ::VariantInit(result);
        if (id == kSpeak && parameters->cArgs == 2) {
            const VARIANT& text = Argument(*parameters, 0);
            const VARIANT& flagsGiven = Argument(*parameters, 1);
            EXPECT_EQ(VT_BSTR, text.vt);
            EXPECT_EQ(VT_I4, flagsGiven.vt);
            calls.push_back({ "Speak", TextFromBstr(text.bstrVal, CP_ACP), flagsGiven.lVal });
            return S_OK;
        }
        if (id == kGetVoices && parameters->cArgs == 2) {
            const std::string wanted = TextFromBstr(Argument(*parameters, 0).bstrVal, CP_ACP);
            calls.push_back({ "GetVoices", wanted, 0 });
            std::vector<std::string> found;
            for (const RecordingVoice::Installed& voice : installed)
                if (Matches(voice.attributes, wanted))
                    found.push_back(voice.name);
            result->vt = VT_DISPATCH;
            result->pdispVal = new Tokens(found);
            return S_OK;
        }
        if (id == kVoice && flags == DISPATCH_PROPERTYPUTREF && parameters->cArgs == 1) {
            const VARIANT& token = parameters->rgvarg[0];
            if (token.vt != VT_DISPATCH || !token.pdispVal)
                return E_INVALIDARG;
            calls.push_back({ "Voice", static_cast<Token*>(token.pdispVal)->name, 0 });
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

class Factory : public ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Voice* voice = new Voice;
        const HRESULT hr = voice->QueryInterface(iid, object);
        voice->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

void SetClass(const std::string& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kClassKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                               &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                              DWORD(value.size() + 1)));
    ::RegCloseKey(key);
}

} // namespace

RecordingVoice::RecordingVoice(std::vector<Installed> voices)
{
    installed = std::move(voices);
    calls.clear();
    HKEY key = nullptr;
    keyExisted_ = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClassKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (keyExisted_) {
        char value[64] = {};
        DWORD size = sizeof value - 1;
        if (::RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
            previousClass_ = value;
        ::RegCloseKey(key);
    }
    SetClass(kRecorderClassText);
    Factory* factory = new Factory;
    EXPECT_EQ(S_OK, ::CoRegisterClassObject(kRecorderClass, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                            &registration_));
    factory->Release();
    CLSID found{};
    EXPECT_EQ(S_OK, ::CLSIDFromProgID(L"SAPI.SpVoice", &found));
    EXPECT_TRUE(::IsEqualCLSID(found, kRecorderClass)) << kProgramId << " does not lead to the recorder";
}

RecordingVoice::~RecordingVoice()
{
    ::CoRevokeClassObject(registration_);
    if (keyExisted_)
        SetClass(previousClass_);
    else
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kClassKey);
}

const std::vector<RecordingVoice::Call>& RecordingVoice::Calls() const
{
    return calls;
}

std::vector<RecordingVoice::Call> RecordingVoice::Spoken() const
{
    std::vector<Call> spoken;
    for (const Call& call : calls)
        if (call.what == "Speak" && !call.text.empty())
            spoken.push_back(call);
    return spoken;
}
