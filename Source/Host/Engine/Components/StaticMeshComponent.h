#pragma once

#include "Engine/Components/PrimitiveComponent.h"
#include "Engine/StaticMesh/StaticMesh.h"

/** Shows a static mesh. */
VT_CLASS(ToolTip = "A component that shows a static mesh.")
class UStaticMeshComponent : public UPrimitiveComponent
{
    VT_BODY(UStaticMeshComponent, UPrimitiveComponent)

public:
    UStaticMesh* GetStaticMesh() const { return StaticMesh; }
    void SetStaticMesh(UStaticMesh* Mesh);

protected:
    FBoxSphereBounds CalcBounds(const FTransform& LocalToWorld) const override;

private:
    VT_PROPERTY(VisibleAnywhere, Category = "Mesh")
    TObjectPtr<UStaticMesh> StaticMesh;
};
