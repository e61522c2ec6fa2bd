#pragma once
#include "stage/ComObject.h"
#include "stage/DispatchCall.h"
#include <oaidl.h>
#include <new>

// What a stage object's member answers: the name callers may look up, the dispatch id
// they call it by, the call kinds it takes (DISPATCH_* flags), how many positional
// arguments it takes (a property put's value not counted) and the handler.
template <class Object>
struct DispatchMember {
    const wchar_t* name;
    DISPID id;
    WORD kinds;
    UINT minArguments;
    UINT maxArguments;
    HRESULT (Object::*answer)(DispatchCall& call);
};

// Call kinds of DispatchMember. Callers read properties and call methods with either
// flag (or both), so the two are taken alike.
constexpr WORD kDispatchGet = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
constexpr WORD kDispatchPut = DISPATCH_PROPERTYPUT;

// IDispatch for the stage's automation objects, answered from a table of members:
// names to ids, checks of the call kind and argument count, then the member's handler.
// Type information is not offered; callers bind late by id.
template <class Object>
class DispatchObject : public ComObject<IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!names || !ids)
            return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            // Only member names are known; names of arguments are not.
            const DispatchMember<Object>* member = i == 0 ? FindByName(names[i]) : nullptr;
            ids[i] = member ? member->id : DISPID_UNKNOWN;
            if (!member)
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override
    {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (!parameters || (parameters->cArgs > 0 && !parameters->rgvarg))
            return E_INVALIDARG;
        const DispatchMember<Object>* member = FindById(id);
        if (!member || !(member->kinds & flags))
            return DISP_E_MEMBERNOTFOUND;
        const HRESULT checked = CheckArguments(*member, flags, *parameters);
        if (FAILED(checked))
            return checked;
        DispatchCall call(flags, *parameters, result, exception, badArgument);
        try {
            return (static_cast<Object*>(this)->*member->answer)(call);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

protected:
    DispatchObject() = default;

private:
    static HRESULT CheckArguments(const DispatchMember<Object>& member, WORD flags, const DISPPARAMS& parameters)
    {
        const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        if (put) {
            if (parameters.cNamedArgs != 1 || !parameters.rgdispidNamedArgs ||
                parameters.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_PARAMNOTFOUND;
        } else if (parameters.cNamedArgs != 0) {
            return DISP_E_NONAMEDARGS;
        }
        const UINT positional = parameters.cArgs - parameters.cNamedArgs;
        if (positional < member.minArguments || positional > member.maxArguments)
            return DISP_E_BADPARAMCOUNT;
        return S_OK;
    }
    static const DispatchMember<Object>* FindById(DISPID id)
    {
        for (const DispatchMember<Object>& member : Object::kMembers)
            if (member.id == id)
                return &member;
        return nullptr;
    }
    static const DispatchMember<Object>* FindByName(const wchar_t* name)
    {
        if (!name)
            return nullptr;
        for (const DispatchMember<Object>& member : Object::kMembers)
            if (::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, member.name, -1, name, -1) == CSTR_EQUAL)
                return &member;
        return nullptr;
    }
};
