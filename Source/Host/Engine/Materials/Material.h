#pragma once

#include "Core/Math/Vector4.h"
#include "CoreUObject/Object/UObjectGlobals.h"

/**
 * A surface material: the parameters of a metallic-roughness surface. Meshes refer to materials
 * through their material slots.
 */
VT_CLASS()
class UMaterial : public UObject
{
    VT_BODY(UMaterial, UObject)

public:
    /** Linear RGBA colour that the surface's base colour is multiplied by. */
    FVector4f BaseColor = FVector4f(1.0f, 1.0f, 1.0f, 1.0f);

    VT_PROPERTY(EditAnywhere, Category = "Material", ClampMin = "0", ClampMax = "1")
    float Metallic = 0.0f;

    VT_PROPERTY(EditAnywhere, Category = "Material", ClampMin = "0", ClampMax = "1")
    float Roughness = 0.5f;

    VT_PROPERTY(EditAnywhere, Category = "Material")
    bool bTwoSided = false;
};
