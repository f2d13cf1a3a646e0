#include "Interchange/Private/AssimpValues.h"

#include "Interchange/Private/InterchangeFailure.h"

#include <cmath>

namespace
{
template <typename KeyType>
void CheckKeys(const KeyType* Keys, unsigned NumKeys, const char* What)
{
    for (unsigned Key = 0; Key < NumKeys; ++Key)
    {
        CheckFinite(reinterpret_cast<const float*>(&Keys[Key].mValue),
                    sizeof(Keys[Key].mValue) / sizeof(float), What);
        if (!std::isfinite(Keys[Key].mTime) || (Key > 0 && Keys[Key].mTime < Keys[Key - 1].mTime))
        {
            FailImport("the key times of %s are not finite and increasing", What);
        }
    }
}
} // namespace

FMatrix ToHostMatrix(const aiMatrix4x4& M)
{
    // Assimp's matrices are for column vectors; the host's are their transpose.
    const float* Values = &M.a1;
    FMatrix Result;
    for (int32 Row = 0; Row < 4; ++Row)
    {
        for (int32 Column = 0; Column < 4; ++Column)
        {
            Result.M[Row][Column] = Values[Column * 4 + Row];
        }
    }
    return Result;
}

void CheckFinite(const float* Values, int32 Num, const char* What)
{
    for (int32 Index = 0; Index < Num; ++Index)
    {
        if (!std::isfinite(Values[Index]))
        {
            FailImport("%s is not a finite number", What);
        }
    }
}

void CheckFinite(const aiVector3D& V, const char* What)
{
    CheckFinite(&V.x, 3, What);
}

void CheckFinite(const aiMatrix4x4& M, const char* What)
{
    CheckFinite(&M.a1, 16, What);
}

void CheckKeys(const aiNodeAnim& Channel)
{
    CheckKeys(Channel.mPositionKeys, Channel.mNumPositionKeys, "an animation's position keys");
    CheckKeys(Channel.mRotationKeys, Channel.mNumRotationKeys, "an animation's rotation keys");
    CheckKeys(Channel.mScalingKeys, Channel.mNumScalingKeys, "an animation's scale keys");
}
