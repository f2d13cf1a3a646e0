#pragma once

#include "MeshDescription/MeshDescription.h"

#include <gtest/gtest.h>

/** Expects the description to pass its consistency check, showing the first problem when it does not. */
inline void ExpectConsistent(const FMeshDescription& Mesh)
{
    TArray<FString> Problems;
    EXPECT_TRUE(Mesh.CheckConsistency(&Problems)) << (Problems.IsEmpty() ? FString() : Problems[0]);
}
