#include "stage/NameEnumerator.h"
#include "stage/AutomationText.h"

NameEnumerator::NameEnumerator(std::shared_ptr<const std::vector<std::string>> names, size_t next)
    : names_(std::move(names)), next_(next)
{
}

HRESULT NameEnumerator::Next(ULONG count, VARIANT* values, ULONG* fetched)
{
    if (!values || (count > 1 && !fetched))
        return E_POINTER;
    ULONG done = 0;
    while (done < count && next_ < names_->size()) {
        BSTR name = BstrFromText((*names_)[next_], CP_UTF8);
        if (!name)
            break;
        ::VariantInit(&values[done]);
        values[done].vt = VT_BSTR;
        values[done].bstrVal = name;
        ++done;
        ++next_;
    }
    if (fetched)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT NameEnumerator::Skip(ULONG count)
{
    const size_t left = names_->size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
}

HRESULT NameEnumerator::Reset()
{
    next_ = 0;
    return S_OK;
}

HRESULT NameEnumerator::Clone(IEnumVARIANT** copy)
{
    if (!copy)
        return E_POINTER;
    *copy = new NameEnumerator(names_, next_);
    return S_OK;
}
