#include "stage/SpeechOutput.h"
#include "stage/AutomationText.h"
#include "framework/DispatchDriver.h"

namespace {

// Flags of the voice's Speak method.
const long kSpeakAsync = 1;
const long kSpeakPurgeBeforeSpeak = 2;
const long kSpeakIsMarkup = 8;

// The dispatch id of a member, or DISPID_UNKNOWN.
DISPID IdOf(IDispatch* object, const wchar_t* name)
{
    LPOLESTR names[] = { const_cast<LPOLESTR>(name) };
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return DISPID_UNKNOWN;
    return id;
}

} // namespace

SpeechOutput::~SpeechOutput()
{
    if (voice_) {
        Stop();
        voice_->Release();
    }
    if (comStarted_)
        ::CoUninitialize();
}

void SpeechOutput::Speak(const std::string& text)
{
    const std::string markup = SpeechMarkup(settings_, text);
    if (!Connect() || !CallSpeak(markup, markup == text ? kSpeakAsync : kSpeakAsync | kSpeakIsMarkup))
        unavailable_ = true;
}

void SpeechOutput::Stop()
{
    if (voice_ && !unavailable_)
        CallSpeak(std::string(), kSpeakAsync | kSpeakPurgeBeforeSpeak);
}

bool SpeechOutput::Connect()
{
    if (voice_ || unavailable_)
        return voice_ != nullptr && !unavailable_;
    // The program may or may not have started COM on this thread; ours is balanced.
    const HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(started);
    CLSID voiceClass{};
    if (FAILED(::CLSIDFromProgID(L"SAPI.SpVoice", &voiceClass)) ||
        FAILED(::CoCreateInstance(voiceClass, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&voice_))))
        return false;
    speakId_ = IdOf(voice_, L"Speak");
    if (speakId_ == DISPID_UNKNOWN)
        return false;
    ChooseVoice();
    return true;
}

void SpeechOutput::ChooseVoice()
{
    if (settings_.voiceQueries.empty())
        return;
    const DISPID getVoices = IdOf(voice_, L"GetVoices");
    const DISPID voice = IdOf(voice_, L"Voice");
    if (getVoices == DISPID_UNKNOWN || voice == DISPID_UNKNOWN)
        return;
    voice_->AddRef();
    const CDispatchDriver driver(voice_);
    for (const std::string& query : settings_.voiceQueries) {
        CVariant required(query), optional{ std::string() };
        const CDispatchDriver tokens = driver.GetObject(getVoices, DISPATCH_METHOD, { &required.value(), &optional.value() });
        if (!tokens.IsValid() || tokens.GetLong(IdOf(tokens.GetDispatch(), L"Count"), 0) <= 0)
            continue;
        CVariant first(0L);
        const CDispatchDriver token =
            tokens.GetObject(IdOf(tokens.GetDispatch(), L"Item"), DISPATCH_METHOD, { &first.value() });
        if (!token.IsValid())
            continue;
        VARIANT chosen;
        ::VariantInit(&chosen);
        chosen.vt = VT_DISPATCH;
        chosen.pdispVal = token.GetDispatch();
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS parameters = { &chosen, &named, 1, 1 };
        if (SUCCEEDED(voice_->Invoke(voice, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUTREF, &parameters,
                                     nullptr, nullptr, nullptr)))
            return;
    }
}

bool SpeechOutput::CallSpeak(const std::string& text, long flags)
{
    VARIANT arguments[2];  // last first: flags, then the text
    ::VariantInit(&arguments[0]);
    arguments[0].vt = VT_I4;
    arguments[0].lVal = flags;
    ::VariantInit(&arguments[1]);
    arguments[1].vt = VT_BSTR;
    arguments[1].bstrVal = BstrFromText(text, CP_ACP);
    DISPPARAMS parameters = { arguments, nullptr, 2, 0 };
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr = voice_->Invoke(speakId_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result,
                                      nullptr, nullptr);
    ::VariantClear(&result);
    ::VariantClear(&arguments[1]);
    return SUCCEEDED(hr);
}
