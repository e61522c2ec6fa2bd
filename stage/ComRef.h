#pragma once
#include <unknwn.h>
#include <utility>

// Holds one reference to a COM object and gives it back when it goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    // Shares the object: adds a reference of its own.
    explicit ComRef(T* object) : object_(object)
    {
        if (object_)
            object_->AddRef();
    }
    // Takes over the caller's reference, as with an object just made.
    static ComRef Adopt(T* object)
    {
        ComRef ref;
        ref.object_ = object;
        return ref;
    }
    ComRef(const ComRef& other) : ComRef(other.object_) {}
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComRef()
    {
        if (object_)
            object_->Release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(object_, nullptr); }

private:
    T* object_ = nullptr;
};

// Makes a COM object of the stage and holds the reference it is born with.
template <class T, class... Arguments>
ComRef<T> MakeComObject(Arguments&&... arguments)
{
    return ComRef<T>::Adopt(new T(std::forward<Arguments>(arguments)...));
}
