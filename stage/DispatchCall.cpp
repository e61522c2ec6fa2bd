#include "stage/DispatchCall.h"
#include "stage/AutomationText.h"

namespace {

// Frees a variant at the end of a scope.
class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&value); }
    ~ScopedVariant() { ::VariantClear(&value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT value;
};

} // namespace

DispatchCall::DispatchCall(WORD flags, const DISPPARAMS& parameters, VARIANT* result, EXCEPINFO* exception,
                           UINT* badArgument)
    : flags_(flags), parameters_(parameters), result_(result), exception_(exception), badArgument_(badArgument)
{
}

UINT DispatchCall::Index(UINT position) const
{
    // The caller lays the arguments out last first, with the put value (named) at 0.
    if (position == kPutValue)
        return 0;
    return parameters_.cArgs - 1 - position;
}

const VARIANT* DispatchCall::Argument(UINT position) const
{
    if (position == kPutValue)
        return IsPut() && parameters_.cArgs > 0 ? &parameters_.rgvarg[0] : nullptr;
    if (position >= PositionalCount())
        return nullptr;
    return &parameters_.rgvarg[Index(position)];
}

bool DispatchCall::IsOmitted(UINT position) const
{
    const VARIANT* argument = Argument(position);
    if (!argument)
        return true;
    const VARIANT* value = argument;
    if (argument->vt == (VT_BYREF | VT_VARIANT) && argument->pvarVal)
        value = argument->pvarVal;
    return value->vt == VT_EMPTY || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND);
}

HRESULT DispatchCall::Convert(UINT position, VARTYPE type, VARIANT& value) const
{
    const VARIANT* argument = Argument(position);
    if (!argument)
        return DISP_E_PARAMNOTFOUND;
    // VariantCopyInd follows a reference (also one to a variant) to the value itself.
    HRESULT hr = ::VariantCopyInd(&value, const_cast<VARIANT*>(argument));
    if (SUCCEEDED(hr))
        hr = ::VariantChangeType(&value, &value, 0, type);
    if (FAILED(hr)) {
        if (badArgument_)
            *badArgument_ = Index(position);
        return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

HRESULT DispatchCall::GetString(UINT position, UINT codePage, std::string& value) const
{
    ScopedVariant converted;
    const HRESULT hr = Convert(position, VT_BSTR, converted.value);
    if (SUCCEEDED(hr))
        value = TextFromBstr(converted.value.bstrVal, codePage);
    return hr;
}

HRESULT DispatchCall::GetLong(UINT position, long& value) const
{
    ScopedVariant converted;
    const HRESULT hr = Convert(position, VT_I4, converted.value);
    if (SUCCEEDED(hr))
        value = converted.value.lVal;
    return hr;
}

HRESULT DispatchCall::GetShort(UINT position, short& value) const
{
    ScopedVariant converted;
    const HRESULT hr = Convert(position, VT_I2, converted.value);
    if (SUCCEEDED(hr))
        value = converted.value.iVal;
    return hr;
}

HRESULT DispatchCall::GetBool(UINT position, bool& value) const
{
    ScopedVariant converted;
    const HRESULT hr = Convert(position, VT_BOOL, converted.value);
    if (SUCCEEDED(hr))
        value = converted.value.boolVal != VARIANT_FALSE;
    return hr;
}

HRESULT DispatchCall::GetOptionalString(UINT position, UINT codePage, std::string& value) const
{
    return IsOmitted(position) ? S_OK : GetString(position, codePage, value);
}

HRESULT DispatchCall::GetOptionalLong(UINT position, long& value) const
{
    return IsOmitted(position) ? S_OK : GetLong(position, value);
}

HRESULT DispatchCall::GetOptionalBool(UINT position, bool& value) const
{
    return IsOmitted(position) ? S_OK : GetBool(position, value);
}

HRESULT DispatchCall::ReturnLong(long value)
{
    if (result_) {
        result_->vt = VT_I4;
        result_->lVal = value;
    }
    return S_OK;
}

HRESULT DispatchCall::ReturnShort(short value)
{
    if (result_) {
        result_->vt = VT_I2;
        result_->iVal = value;
    }
    return S_OK;
}

HRESULT DispatchCall::ReturnBool(bool value)
{
    if (result_) {
        result_->vt = VT_BOOL;
        result_->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT DispatchCall::ReturnDispatch(IDispatch* object)
{
    if (result_) {
        object->AddRef();
        result_->vt = VT_DISPATCH;
        result_->pdispVal = object;
    }
    return S_OK;
}

HRESULT DispatchCall::ReturnUnknown(IUnknown* object)
{
    if (result_) {
        object->AddRef();
        result_->vt = VT_UNKNOWN;
        result_->punkVal = object;
    }
    return S_OK;
}

HRESULT DispatchCall::Raise(HRESULT code, const std::string& description)
{
    if (!exception_)
        return code;
    *exception_ = EXCEPINFO{};
    exception_->bstrSource = BstrFromText("Character stage", CP_ACP);
    exception_->bstrDescription = BstrFromText(description, CP_ACP);
    exception_->scode = code;
    return DISP_E_EXCEPTION;
}
