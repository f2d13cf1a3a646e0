#pragma once

#include "CoreUObject/Object/UObjectGlobals.h"
#include "CoreUObject/Reflection/Class.h"
#include "CoreUObject/Reflection/Enum.h"
#include "CoreUObject/Reflection/MathPropertyTraits.h"
#include "CoreUObject/Reflection/ObjectPropertyTraits.h"

#include <memory>
#include <type_traits>

/**
 * What the reflection sources written by the header tool call. Nothing else needs these.
 */
namespace VT::Reflection
{
/** Makes a class object in the script package of its module and fills its reflection data. */
UClass* ConstructClass(UClass* SuperClass, const char* CppName, const char* ModuleName, EClassFlags Flags,
                       UClass::FFactory Factory, void (*Fill)(UClass&));

template <typename T>
UObject* MakeInstance()
{
    return new T();
}

template <typename T>
UClass* ConstructClassFor(const char* CppName, const char* ModuleName, EClassFlags Flags,
                          void (*Fill)(UClass&))
{
    UClass::FFactory Factory = nullptr;
    if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T>)
    {
        Factory = &MakeInstance<T>;
    }
    return ConstructClass(T::Super::StaticClass(), CppName, ModuleName, Flags, Factory, Fill);
}

template <typename ClassType, typename T>
void AddProperty(UClass& Class, T ClassType::*Member, const char* Name, EPropertyFlags Flags,
                 FMetaData MetaData)
{
    Class.AddProperty(
        std::make_unique<TMemberProperty<ClassType, T>>(Member, FName(Name), Flags, std::move(MetaData)));
}

template <typename FunctionType>
struct TMemberFunctionTraits;

template <typename ClassType, typename ReturnType>
struct TMemberFunctionTraits<ReturnType (ClassType::*)()>
{
    using Class = ClassType;
    using Return = ReturnType;
};

template <typename ClassType, typename ReturnType>
struct TMemberFunctionTraits<ReturnType (ClassType::*)() const>
{
    using Class = ClassType;
    using Return = ReturnType;
};

/** Calls a member function without parameters, const or not, and hands back what it returns. */
template <auto Function>
struct TFunctionThunk
{
    using Class = typename TMemberFunctionTraits<decltype(Function)>::Class;
    using Return = typename TMemberFunctionTraits<decltype(Function)>::Return;

    static void Call(UObject* Object, void* OutResult)
    {
        Class* Self = static_cast<Class*>(Object);
        if constexpr (std::is_void_v<Return>)
        {
            (Self->*Function)();
            (void)OutResult;
        }
        else
        {
            Return Result = (Self->*Function)();
            if (OutResult)
            {
                *static_cast<Return*>(OutResult) = std::move(Result);
            }
        }
    }
};

template <auto Function>
void AddFunction(UClass& Class, const char* Name, FMetaData MetaData)
{
    using Thunk = TFunctionThunk<Function>;
    Class.AddFunction(std::make_unique<FFunction>(FName(Name), std::move(MetaData), &Thunk::Call,
                                                  typeid(typename Thunk::Return)));
}

/** Runs a class's registration during static initialisation, so that it can be found by name. */
struct FAutoRegisterClass
{
    explicit FAutoRegisterClass(UClass* (*StaticClassFunction)()) { StaticClassFunction(); }
};
} // namespace VT::Reflection
