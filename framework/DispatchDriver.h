#pragma once
#include <windows.h>
#include <oleauto.h>
#include <initializer_list>
#include <string>

// Owns a variant for the length of a call.
class CVariant {
public:
    CVariant() { ::VariantInit(&value_); }
    explicit CVariant(const std::string& text);
    explicit CVariant(bool flag);
    explicit CVariant(short number);
    explicit CVariant(long number);
    ~CVariant() { ::VariantClear(&value_); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& value() const { return value_; }

private:
    VARIANT value_;
};

// Calls the members of an automation object by dispatch id, and releases the object when
// it goes out of scope. Failures come back as the call's HRESULT; nothing is thrown.
class CDispatchDriver {
public:
    CDispatchDriver() = default;
    // Takes over one reference.
    explicit CDispatchDriver(IDispatch* dispatch) : dispatch_(dispatch) {}
    ~CDispatchDriver() { ReleaseDispatch(); }
    CDispatchDriver(CDispatchDriver&& other) noexcept : dispatch_(other.dispatch_) { other.dispatch_ = nullptr; }
    CDispatchDriver& operator=(CDispatchDriver&& other) noexcept;
    CDispatchDriver(const CDispatchDriver&) = delete;
    CDispatchDriver& operator=(const CDispatchDriver&) = delete;

    IDispatch* GetDispatch() const { return dispatch_; }
    bool IsValid() const { return dispatch_ != nullptr; }
    void AttachDispatch(IDispatch* dispatch);
    void ReleaseDispatch();

    // Arguments in their natural order; result may be null when none is wanted.
    HRESULT Invoke(DISPID id, WORD flags, std::initializer_list<const VARIANT*> arguments, VARIANT* result) const;
    HRESULT PutProperty(DISPID id, const VARIANT& value) const;
    // The object a property or method returns, or an empty driver.
    CDispatchDriver GetObject(DISPID id, WORD flags, std::initializer_list<const VARIANT*> arguments = {}) const;
    // A numeric property, or the fallback when it cannot be read.
    long GetLong(DISPID id, long fallback) const;

private:
    IDispatch* dispatch_ = nullptr;
};
