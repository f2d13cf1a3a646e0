#pragma once

#include "CoreUObject/Object/Object.h"
#include "CoreUObject/Reflection/MetaData.h"

#include <typeinfo>

/**
 * A reflected member function without parameters. Functions marked CallInEditor become
 * buttons of the details panel; functions that return a value (such as option lists named by
 * GetOptions metadata) hand it back through Call<T>.
 */
class FFunction : public FField
{
public:
    using FThunk = void (*)(UObject* Object, void* OutResult);

    FFunction(FName InName, FMetaData InMetaData, FThunk InThunk, const std::type_info& InReturnType)
        : FField(InName, std::move(InMetaData)), Thunk(InThunk), ReturnType(InReturnType)
    {
    }

    bool ReturnsValue() const { return ReturnType != typeid(void); }
    const std::type_info& GetReturnType() const { return ReturnType; }

    /** Calls the function on an object of its class, ignoring any result. */
    void Invoke(UObject* Object) const;

    /** Calls a function that returns T; false (and no call) when it returns something else. */
    template <typename T>
    bool Call(UObject* Object, T& OutResult) const
    {
        if (ReturnType != typeid(T))
        {
            return false;
        }
        Thunk(Object, &OutResult);
        return true;
    }

private:
    FThunk Thunk;
    const std::type_info& ReturnType;
};
