#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

// One call through IDispatch::Invoke, as a member of a stage object sees it: reads the
// caller's arguments the way automation callers pass them (converted, by reference or
// by value, optional ones omitted) and hands back a result or an error. Every reader
// returns the HRESULT the member should give back when the argument does not fit.
class DispatchCall {
public:
    // Stands for the value of a property put instead of a position.
    static constexpr UINT kPutValue = ~0u;

    DispatchCall(WORD flags, const DISPPARAMS& parameters, VARIANT* result, EXCEPINFO* exception,
                 UINT* badArgument);

    bool IsPut() const { return (flags_ & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

    // Arguments by position from the first (or kPutValue); strings in the code page given.
    HRESULT GetString(UINT position, UINT codePage, std::string& value) const;
    HRESULT GetLong(UINT position, long& value) const;
    HRESULT GetShort(UINT position, short& value) const;
    HRESULT GetBool(UINT position, bool& value) const;

    // Optional arguments: value keeps its fallback when the argument is absent, omitted
    // (VT_ERROR "not found") or empty.
    HRESULT GetOptionalString(UINT position, UINT codePage, std::string& value) const;
    HRESULT GetOptionalLong(UINT position, long& value) const;
    HRESULT GetOptionalBool(UINT position, bool& value) const;

    HRESULT ReturnLong(long value);
    HRESULT ReturnShort(short value);
    HRESULT ReturnBool(bool value);
    // The result holds a reference of its own.
    HRESULT ReturnDispatch(IDispatch* object);
    HRESULT ReturnUnknown(IUnknown* object);

    // Raises an automation error: DISP_E_EXCEPTION with the code and description in the
    // caller's EXCEPINFO, or the code itself when the caller gave none.
    HRESULT Raise(HRESULT code, const std::string& description);

private:
    // Arguments by position, not counting the value of a property put.
    UINT PositionalCount() const { return parameters_.cArgs - parameters_.cNamedArgs; }
    bool IsOmitted(UINT position) const;
    // The argument converted to the type; a failure marks the argument as the bad one.
    HRESULT Convert(UINT position, VARTYPE type, VARIANT& value) const;
    const VARIANT* Argument(UINT position) const;
    UINT Index(UINT position) const;

    WORD flags_;
    const DISPPARAMS& parameters_;
    VARIANT* result_;
    EXCEPINFO* exception_;
    UINT* badArgument_;
};
