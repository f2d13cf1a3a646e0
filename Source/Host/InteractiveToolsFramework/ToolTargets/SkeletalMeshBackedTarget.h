#pragma once

class USkeletalMesh;

/** The interface of a tool target that stands for a skeletal mesh asset. */
class USkeletalMeshBackedTarget
{
public:
    virtual ~USkeletalMeshBackedTarget() = default;

    /** The asset the target stands for, or null when it is gone. */
    virtual USkeletalMesh* GetSkeletalMesh() const = 0;
};
