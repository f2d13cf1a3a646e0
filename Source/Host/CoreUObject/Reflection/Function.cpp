#include "CoreUObject/Reflection/Function.h"

void FFunction::Invoke(UObject* Object) const
{
    VT_CHECK(Object != nullptr);
    Thunk(Object, nullptr);
}
