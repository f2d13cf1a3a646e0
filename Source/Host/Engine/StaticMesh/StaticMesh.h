#pragma once

#include "Core/Math/Box.h"
#include "CoreUObject/Object/UObjectGlobals.h"

/** A mesh without bones, such as a preview scene's floor. Only its name and bounds are kept here. */
VT_CLASS(ToolTip = "A mesh asset without bones.")
class UStaticMesh : public UObject
{
    VT_BODY(UStaticMesh, UObject)

public:
    const FBox& GetBoundingBox() const { return BoundingBox; }
    void SetBoundingBox(const FBox& Box) { BoundingBox = Box; }

private:
    FBox BoundingBox;
};
