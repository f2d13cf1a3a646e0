#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshDescription/MeshDescription.h"

#include <gtest/gtest.h>

/** Expects the description to pass its consistency check, showing the first problem when it does not. */
inline void ExpectConsistent(const FMeshDescription& Mesh)
{
    TArray<FString> Problems;
    EXPECT_TRUE(Mesh.CheckConsistency(&Problems)) << (Problems.IsEmpty() ? FString() : Problems[0]);
}

/** Passes when the dynamic mesh is valid; otherwise fails with the problems it has. */
inline testing::AssertionResult IsValidMesh(const FDynamicMesh3& Mesh)
{
    TArray<FString> Problems;
    if (Mesh.CheckValidity(&Problems))
    {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << *FString::Join(Problems, "; ");
}
