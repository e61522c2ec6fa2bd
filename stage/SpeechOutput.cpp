#include "stage/SpeechOutput.h"
#include "stage/AutomationText.h"

namespace {

// Flags of the voice's Speak method.
const long kSpeakAsync = 1;
const long kSpeakPurgeBeforeSpeak = 2;

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
    if (!Connect() || !CallSpeak(text, kSpeakAsync))
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
    OLECHAR name[] = L"Speak";
    LPOLESTR names[] = { name };
    return SUCCEEDED(voice_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &speakId_));
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
