#pragma once

#include "Core/Math/Matrix.h"

#include <assimp/anim.h>
#include <assimp/matrix4x4.h>
#include <assimp/vector3.h>

/** A matrix of the file as the host writes matrices. */
FMatrix ToHostMatrix(const aiMatrix4x4& M);

/** Refuses the file when one of Num values (a vector, colour or matrix of the file) is not finite. */
void CheckFinite(const float* Values, int32 Num, const char* What);
void CheckFinite(const aiVector3D& V, const char* What);
void CheckFinite(const aiMatrix4x4& M, const char* What);

/** Refuses a channel whose keys are not finite or whose times go back: sampling walks them once, in order. */
void CheckKeys(const aiNodeAnim& Channel);
