#include "CoreUObject/Reflection/Property.h"

#include <algorithm>

namespace VT::Reflection
{
double ClampByMetaData(const FField& Field, double Value)
{
    double Limit = 0.0;
    if (Field.HasMetaData("ClampMin") && ParseReal(Field.GetMetaData("ClampMin"), Limit))
    {
        Value = std::max(Value, Limit);
    }
    if (Field.HasMetaData("ClampMax") && ParseReal(Field.GetMetaData("ClampMax"), Limit))
    {
        Value = std::min(Value, Limit);
    }
    return Value;
}
} // namespace VT::Reflection
