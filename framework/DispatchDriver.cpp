#include "framework/DispatchDriver.h"
#include <vector>

CVariant::CVariant(const std::string& text)
{
    ::VariantInit(&value_);
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR bstr = ::SysAllocStringLen(nullptr, length);
    if (bstr) {
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bstr, length);
        value_.vt = VT_BSTR;
        value_.bstrVal = bstr;
    }
}

CVariant::CVariant(bool flag)
{
    ::VariantInit(&value_);
    value_.vt = VT_BOOL;
    value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

CVariant::CVariant(short number)
{
    ::VariantInit(&value_);
    value_.vt = VT_I2;
    value_.iVal = number;
}

CVariant::CVariant(long number)
{
    ::VariantInit(&value_);
    value_.vt = VT_I4;
    value_.lVal = number;
}

CDispatchDriver& CDispatchDriver::operator=(CDispatchDriver&& other) noexcept
{
    if (this != &other) {
        ReleaseDispatch();
        dispatch_ = other.dispatch_;
        other.dispatch_ = nullptr;
    }
    return *this;
}

void CDispatchDriver::AttachDispatch(IDispatch* dispatch)
{
    ReleaseDispatch();
    dispatch_ = dispatch;
}

void CDispatchDriver::ReleaseDispatch()
{
    if (dispatch_) {
        dispatch_->Release();
        dispatch_ = nullptr;
    }
}

HRESULT CDispatchDriver::Invoke(DISPID id, WORD flags, std::initializer_list<const VARIANT*> arguments,
                                VARIANT* result) const
{
    if (!dispatch_)
        return E_POINTER;
    // Automation takes the arguments last first.
    std::vector<VARIANT> reversed(arguments.size());
    size_t index = arguments.size();
    for (const VARIANT* argument : arguments)
        reversed[--index] = *argument;
    DISPPARAMS parameters{};
    parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
    parameters.cArgs = static_cast<UINT>(reversed.size());
    DISPID named = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        parameters.rgdispidNamedArgs = &named;
        parameters.cNamedArgs = 1;
    }
    if (result)
        ::VariantInit(result);
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, &exception,
                                         &badArgument);
    if (hr == DISP_E_EXCEPTION) {
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
    }
    return hr;
}

HRESULT CDispatchDriver::PutProperty(DISPID id, const VARIANT& value) const
{
    return Invoke(id, DISPATCH_PROPERTYPUT, { &value }, nullptr);
}

CDispatchDriver CDispatchDriver::GetObject(DISPID id, WORD flags, std::initializer_list<const VARIANT*> arguments) const
{
    CVariant result;
    if (FAILED(Invoke(id, flags, arguments, result.get())))
        return CDispatchDriver();
    VARIANT& value = *result.get();
    IDispatch* object = nullptr;
    if (value.vt == VT_DISPATCH && value.pdispVal)
        value.pdispVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
    else if (value.vt == VT_UNKNOWN && value.punkVal)
        value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
    return CDispatchDriver(object);
}

long CDispatchDriver::GetLong(DISPID id, long fallback) const
{
    CVariant result;
    if (FAILED(Invoke(id, DISPATCH_PROPERTYGET, {}, result.get())))
        return fallback;
    if (FAILED(::VariantChangeType(result.get(), result.get(), 0, VT_I4)))
        return fallback;
    return result.get()->lVal;
}
