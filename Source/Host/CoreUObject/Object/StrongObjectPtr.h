#pragma once

#include "CoreUObject/Object/ObjectArray.h"

#include <utility>

/**
 * A reference from outside the object system (a module, a test) that keeps its object
 * alive through garbage collection for as long as the pointer holds it.
 */
template <typename T>
class TStrongObjectPtr
{
public:
    TStrongObjectPtr() = default;
    explicit TStrongObjectPtr(T* InObject) { Reset(InObject); }
    TStrongObjectPtr(const TStrongObjectPtr& Other) { Reset(Other.Object); }
    TStrongObjectPtr(TStrongObjectPtr&& Other) noexcept : Object(std::exchange(Other.Object, nullptr)) {}
    TStrongObjectPtr& operator=(const TStrongObjectPtr& Other)
    {
        Reset(Other.Object);
        return *this;
    }
    TStrongObjectPtr& operator=(TStrongObjectPtr&& Other) noexcept
    {
        if (this != &Other)
        {
            Reset();
            Object = std::exchange(Other.Object, nullptr);
        }
        return *this;
    }
    ~TStrongObjectPtr() { Reset(); }

    void Reset(T* NewObject = nullptr)
    {
        if (NewObject)
        {
            FUObjectArray::Get().AddExternalReference(NewObject);
        }
        if (Object)
        {
            FUObjectArray::Get().RemoveExternalReference(Object);
        }
        Object = NewObject;
    }

    T* Get() const { return Object; }
    T* operator->() const
    {
        VT_CHECKF(Object != nullptr, "dereferencing an empty strong object pointer");
        return Object;
    }
    bool IsValid() const { return Object != nullptr; }
    explicit operator bool() const { return IsValid(); }

private:
    T* Object = nullptr;
};
