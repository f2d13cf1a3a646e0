#include "Interchange/Private/GltfPrimitiveAttributes.h"

#include "Interchange/Private/InterchangeFailure.h"

int32 FindGltfAttribute(const FGltfAttributes& Attributes, const std::string& Name)
{
    const auto Found = Attributes.find(Name);
    return Found == Attributes.end() ? INDEX_NONE : Found->second;
}

void CheckGltfAttributeCount(const char* Name, int32 Actual, int32 Expected)
{
    if (Actual != Expected)
    {
        FailImport("the %s attribute has %d elements where POSITION has %d", Name, Actual, Expected);
    }
}
