#pragma once

#include "CoreUObject/Object/ObjectArray.h"

/**
 * A reference that does not keep its object alive and goes stale once the object is
 * destroyed (marked as garbage or collected). Get() then answers null.
 */
template <typename T>
class TWeakObjectPtr
{
public:
    TWeakObjectPtr() = default;
    TWeakObjectPtr(std::nullptr_t) {}
    TWeakObjectPtr(const T* Object) { *this = Object; }

    TWeakObjectPtr& operator=(const T* Object)
    {
        Handle = FUObjectArray::Get().MakeWeakHandle(Object);
        return *this;
    }

    T* Get() const { return static_cast<T*>(FUObjectArray::Get().ResolveWeakHandle(Handle)); }
    T* operator->() const
    {
        T* Object = Get();
        VT_CHECKF(Object != nullptr, "dereferencing a stale weak object pointer");
        return Object;
    }
    bool IsValid() const { return Get() != nullptr; }
    /** True when the pointer once referred to an object that is gone now. */
    bool IsStale() const { return Handle.ObjectIndex != INDEX_NONE && !IsValid(); }
    void Reset() { Handle = FWeakObjectHandle(); }

    bool operator==(const TWeakObjectPtr& Other) const { return Handle == Other.Handle; }

private:
    FWeakObjectHandle Handle;
};
