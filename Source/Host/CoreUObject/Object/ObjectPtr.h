#pragma once

#include "CoreUObject/Object/Object.h"

#include <cstddef>

/**
 * A strong reference held by an object. When the member is reflected (or reported in
 * AddReferencedObjects) the garbage collector keeps the referenced object alive.
 */
template <typename T>
class TObjectPtr
{
public:
    TObjectPtr() = default;
    TObjectPtr(std::nullptr_t) {}
    TObjectPtr(T* InObject) : Object(InObject) {}
    template <typename U>
    requires std::is_convertible_v<U*, T*> TObjectPtr(const TObjectPtr<U>& Other) : Object(Other.Get()) {}

    T* Get() const { return Object; }
    operator T*() const { return Object; }
    T* operator->() const
    {
        VT_CHECKF(Object != nullptr, "dereferencing a null object pointer");
        return Object;
    }
    T& operator*() const { return *operator->(); }
    explicit operator bool() const { return Object != nullptr; }

    friend uint32 GetTypeHash(const TObjectPtr& Pointer)
    {
        return static_cast<uint32>(reinterpret_cast<uintptr_t>(Pointer.Object) >> 4);
    }

private:
    T* Object = nullptr;
};
