#pragma once
#include "stage/ComObject.h"
#include <oaidl.h>
#include <memory>
#include <string>
#include <vector>

// Enumerates a list of names (UTF-8) as BSTR variants, in list order.
class NameEnumerator : public ComObject<IEnumVARIANT> {
public:
    explicit NameEnumerator(std::shared_ptr<const std::vector<std::string>> names, size_t next = 0);

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* values, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    std::shared_ptr<const std::vector<std::string>> names_;
    size_t next_;
};
