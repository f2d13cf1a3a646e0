#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

#include <gtest/gtest.h>

/**
 * Passes when the two meshes hold the same state element by element: IDs, positions, corners, edges and
 * each vertex's edge order, triangle groups, and every attribute with its elements and their IDs.
 * Otherwise fails, naming the first difference.
 */
testing::AssertionResult IsSameMesh(const FDynamicMesh3& Actual, const FDynamicMesh3& Expected);
