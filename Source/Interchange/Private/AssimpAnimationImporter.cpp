#include "Interchange/Private/AssimpAnimationImporter.h"

#include "Interchange/Private/AssimpValues.h"
#include "Interchange/Private/NodeAncestry.h"

#include <cmath>

namespace
{
FVector Blend(const aiVector3D& A, const aiVector3D& B, double Alpha)
{
    const aiVector3D V = A + (B - A) * static_cast<float>(Alpha);
    return FVector(V.x, V.y, V.z);
}

FQuat Blend(const aiQuaternion& A, const aiQuaternion& B, double Alpha)
{
    aiQuaternion Q;
    aiQuaternion::Interpolate(Q, A, B, static_cast<float>(Alpha));
    return FQuat(Q.x, Q.y, Q.z, Q.w).GetNormalized();
}

/**
 * The value at Tick, blended from the keys on either side. Ticks come in increasing order and Cursor (0
 * before the first tick) remembers the first key not before the last one, so sampling a channel walks
 * its keys once.
 */
template <typename KeyType>
auto SampleKeys(const KeyType* Keys, unsigned NumKeys, double Tick, unsigned& Cursor)
{
    while (Cursor < NumKeys && Keys[Cursor].mTime < Tick)
    {
        ++Cursor;
    }
    const unsigned Next = Cursor;
    if (Next == 0 || Next == NumKeys)
    {
        const auto& Value = Keys[Next == 0 ? 0 : NumKeys - 1].mValue;
        return Blend(Value, Value, 0.0);
    }
    const double Span = Keys[Next].mTime - Keys[Next - 1].mTime;
    return Blend(Keys[Next - 1].mValue, Keys[Next].mValue,
                 Span > 0.0 ? (Tick - Keys[Next - 1].mTime) / Span : 0.0);
}

class FAnimationReader
{
public:
    FAnimationReader(const aiScene& InScene, const FAssimpNodeGraph& InGraph, const FBoneOfNode& InBoneOfNode)
        : Scene(InScene), Graph(InGraph), BoneOfNode(InBoneOfNode)
    {
    }

    FImportedAnimation Read(unsigned Index) const
    {
        const aiAnimation& Animation = *Scene.mAnimations[Index];
        const double TicksPerSecond = Animation.mTicksPerSecond > 0.0 ? Animation.mTicksPerSecond : 25.0;
        FImportedAnimation Result;
        Result.Name = MakeAnimationName(FString(Animation.mName.C_Str()), static_cast<int32>(Index));
        Result.FrameRate = DefaultFrameRate;
        const double Seconds =
            std::isfinite(Animation.mDuration) ? Animation.mDuration / TicksPerSecond : 0.0;
        Result.NumberOfKeys = CountSampledKeys(Seconds);
        for (unsigned Channel = 0; Channel < Animation.mNumChannels; ++Channel)
        {
            const aiNodeAnim& Data = *Animation.mChannels[Channel];
            const int32 Node = Graph.FindNode(Data.mNodeName);
            if (Node != INDEX_NONE && !BoneOfNode(Node).IsNone())
            {
                CheckKeys(Data);
                Result.Tracks.Add(MakeTrack(Node, Data, Result.NumberOfKeys, TicksPerSecond));
            }
        }
        return Result;
    }

private:
    FAnimationBoneTrack MakeTrack(int32 Node, const aiNodeAnim& Data, int32 NumKeys,
                                  double TicksPerSecond) const
    {
        FAnimationBoneTrack Track;
        Track.Name = BoneOfNode(Node);
        const FTransform Rest(ToHostMatrix(Graph.GetNode(Node).mTransformation));
        FMatrix Prefix;
        const bool bPrefix = FindSkeletonSpace(Node, Prefix);
        unsigned PositionCursor = 0;
        unsigned RotationCursor = 0;
        unsigned ScaleCursor = 0;
        for (int32 Key = 0; Key < NumKeys; ++Key)
        {
            const double Tick = Key / DefaultFrameRate * TicksPerSecond;
            FTransform Local = Rest;
            if (Data.mNumPositionKeys > 0)
            {
                Local.SetTranslation(
                    SampleKeys(Data.mPositionKeys, Data.mNumPositionKeys, Tick, PositionCursor));
            }
            if (Data.mNumRotationKeys > 0)
            {
                Local.SetRotation(
                    SampleKeys(Data.mRotationKeys, Data.mNumRotationKeys, Tick, RotationCursor));
            }
            if (Data.mNumScalingKeys > 0)
            {
                Local.SetScale3D(SampleKeys(Data.mScalingKeys, Data.mNumScalingKeys, Tick, ScaleCursor));
            }
            if (bPrefix)
            {
                Local = FTransform(Local.ToMatrixWithScale() * Prefix);
            }
            AddTrackKey(Track, Graph.GetConversion(), Local);
        }
        return Track;
    }

    /**
     * Channels are local to the parent node, bones to the parent bone (root bones to the mesh's space).
     * When nodes lie between the two, OutPrefix takes a channel's transform into the bone's space.
     */
    bool FindSkeletonSpace(int32 Node, FMatrix& OutPrefix) const
    {
        const TArray<int32>& Parents = Graph.GetParents();
        const int32 ParentBone =
            FindAncestor(Parents, Node, [this](int32 Ancestor) { return !BoneOfNode(Ancestor).IsNone(); });
        if (ParentBone != INDEX_NONE && ParentBone == Parents[Node])
        {
            return false;
        }
        const FMatrix ParentGlobal =
            Parents[Node] == INDEX_NONE ? FMatrix::Identity : Graph.GetGlobal(Parents[Node]);
        const FMatrix Reference = ParentBone == INDEX_NONE ? MeshSpace() : Graph.GetGlobal(ParentBone);
        OutPrefix = ParentGlobal * Reference.Inverse();
        return true;
    }

    /** The global transform of the first node with a skinned mesh: the space the bind pose is given in. */
    FMatrix MeshSpace() const
    {
        for (int32 Node = 0; Node < Graph.Num(); ++Node)
        {
            const aiNode& Data = Graph.GetNode(Node);
            for (unsigned Index = 0; Index < Data.mNumMeshes; ++Index)
            {
                if (Scene.mMeshes[Data.mMeshes[Index]]->mNumBones > 0)
                {
                    return Graph.GetGlobal(Node);
                }
            }
        }
        return FMatrix::Identity;
    }

    const aiScene& Scene;
    const FAssimpNodeGraph& Graph;
    const FBoneOfNode& BoneOfNode;
};
} // namespace

void ReadAssimpAnimations(const aiScene& Scene, const FAssimpNodeGraph& Graph, const FBoneOfNode& BoneOfNode,
                          TArray<FImportedAnimation>& OutAnimations)
{
    const FAnimationReader Reader(Scene, Graph, BoneOfNode);
    for (unsigned Index = 0; Index < Scene.mNumAnimations; ++Index)
    {
        OutAnimations.Add(Reader.Read(Index));
    }
}
