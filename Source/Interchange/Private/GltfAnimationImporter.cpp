#include "Interchange/Private/GltfAnimationImporter.h"

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/InterchangeFailure.h"
#include "Interchange/Private/NodeAncestry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace
{
constexpr double KeyTimeTolerance = 1e-6;

/** How far a key time written as a float may lie from the time it stands for. */
double KeyTolerance(double Time)
{
    return std::max(KeyTimeTolerance, std::abs(Time) * 2.0 * std::numeric_limits<float>::epsilon());
}

enum class EInterpolation : uint8
{
    Step,
    Linear,
    CubicSpline,
};

/** One sampler's keys: times and NumComponents values per key (three values per key for cubic splines). */
struct FSampledChannel
{
    TArray<float> Times;
    TArray<float> Values;
    int32 NumComponents = 3;
    EInterpolation Interpolation = EInterpolation::Linear;
    bool bRotation = false;

    bool IsSet() const { return !Times.IsEmpty(); }

    /** The value at the key: for a cubic spline the middle entry of its triple. */
    const float* KeyValue(int32 Key) const
    {
        const int32 Stride = Interpolation == EInterpolation::CubicSpline ? 3 : 1;
        return &Values[(Key * Stride + (Stride == 3 ? 1 : 0)) * NumComponents];
    }

    void Sample(double Time, double* Out) const
    {
        const int32 Num = Times.Num();
        const double Tolerance = KeyTolerance(Time);
        const int32 Next =
            static_cast<int32>(std::upper_bound(Times.begin(), Times.end(), Time) - Times.begin());
        if (Next < Num && std::abs(Times[Next] - Time) <= Tolerance)
        {
            return Copy(KeyValue(Next), Out);
        }
        if (Next == 0 || Next == Num || std::abs(Times[Next - 1] - Time) <= Tolerance ||
            Interpolation == EInterpolation::Step)
        {
            return Copy(KeyValue(std::max(Next - 1, 0)), Out);
        }
        const double Span = Times[Next] - Times[Next - 1];
        const double Alpha = (Time - Times[Next - 1]) / Span;
        if (Interpolation == EInterpolation::CubicSpline)
        {
            Hermite(Next - 1, Alpha, Span, Out);
        }
        else
        {
            Blend(KeyValue(Next - 1), KeyValue(Next), Alpha, Out);
        }
        if (bRotation)
        {
            Normalize(Out);
        }
    }

    void Copy(const float* Value, double* Out) const
    {
        for (int32 Index = 0; Index < NumComponents; ++Index)
        {
            Out[Index] = Value[Index];
        }
    }

private:
    void Blend(const float* A, const float* B, double Alpha, double* Out) const
    {
        double Sign = 1.0;
        if (bRotation)
        {
            double Dot = 0.0;
            for (int32 Index = 0; Index < 4; ++Index)
            {
                Dot += A[Index] * B[Index];
            }
            Sign = Dot < 0.0 ? -1.0 : 1.0;
        }
        if (bRotation)
        {
            const FQuat From(A[0], A[1], A[2], A[3]);
            const FQuat To(B[0] * Sign, B[1] * Sign, B[2] * Sign, B[3] * Sign);
            const FQuat Result = FQuat::Slerp(From, To, Alpha);
            Out[0] = Result.X;
            Out[1] = Result.Y;
            Out[2] = Result.Z;
            Out[3] = Result.W;
            return;
        }
        for (int32 Index = 0; Index < NumComponents; ++Index)
        {
            Out[Index] = A[Index] + (B[Index] - A[Index]) * Alpha;
        }
    }

    void Hermite(int32 Key, double T, double Span, double* Out) const
    {
        const float* P0 = &Values[(Key * 3 + 1) * NumComponents];
        const float* M0 = &Values[(Key * 3 + 2) * NumComponents];
        const float* M1 = &Values[((Key + 1) * 3) * NumComponents];
        const float* P1 = &Values[((Key + 1) * 3 + 1) * NumComponents];
        const double T2 = T * T;
        const double T3 = T2 * T;
        for (int32 Index = 0; Index < NumComponents; ++Index)
        {
            Out[Index] = (2 * T3 - 3 * T2 + 1) * P0[Index] + (T3 - 2 * T2 + T) * Span * M0[Index] +
                         (-2 * T3 + 3 * T2) * P1[Index] + (T3 - T2) * Span * M1[Index];
        }
    }

    static void Normalize(double* Q)
    {
        const double Length = std::sqrt(Q[0] * Q[0] + Q[1] * Q[1] + Q[2] * Q[2] + Q[3] * Q[3]);
        for (int32 Index = 0; Index < 4 && Length > 0.0; ++Index)
        {
            Q[Index] /= Length;
        }
    }
};

/** The channels of one node. */
struct FNodeChannels
{
    FSampledChannel Translation;
    FSampledChannel Rotation;
    FSampledChannel Scale;
};

class FAnimationReader
{
public:
    FAnimationReader(const tinygltf::Model& InModel, const FGltfNodeGraph& InGraph,
                     const FBoneOfNode& InBoneOfNode, TArray<FString>& InWarnings)
        : Model(InModel), Graph(InGraph), BoneOfNode(InBoneOfNode), Warnings(InWarnings), Reader(InModel)
    {
    }

    /** The animation with a track per animated bone, in the order of the bones' first channels. */
    FImportedAnimation Read(int32 AnimationIndex, FImportedGltfLayout::FAnimation& OutLayout)
    {
        const tinygltf::Animation& Animation = Model.animations[AnimationIndex];
        std::map<int32, FNodeChannels> Channels;
        TArray<int32> NodeOrder;
        double EndTime = 0.0;
        OutLayout.Name = FString(Animation.name);
        for (const tinygltf::AnimationChannel& Channel : Animation.channels)
        {
            const size_t NumNodes = Channels.size();
            if (ReadChannel(Animation, Channel, Channels, EndTime))
            {
                if (Channels.size() > NumNodes)
                {
                    NodeOrder.Add(Channel.target_node);
                }
                OutLayout.Channels.Add({BoneOfNode(Channel.target_node), FString(Channel.target_path)});
            }
        }
        FImportedAnimation Result;
        Result.Name = MakeAnimationName(FString(Animation.name), AnimationIndex);
        const bool bKeysByIndex = ChooseKeys(Animation, Channels, EndTime, Result);
        CountTrackKeys(Result, static_cast<int32>(Channels.size()));
        for (const int32 Node : NodeOrder)
        {
            Result.Tracks.Add(MakeTrack(Node, Channels.at(Node), Result, bKeysByIndex));
        }
        return Result;
    }

private:
    /** Reads a channel of a bone; false for channels that are skipped. */
    bool ReadChannel(const tinygltf::Animation& Animation, const tinygltf::AnimationChannel& Channel,
                     std::map<int32, FNodeChannels>& OutChannels, double& InOutEndTime)
    {
        if (Channel.target_path == "weights")
        {
            AddWarningOnce("skipped morph-weight animation channels");
            return false;
        }
        if (Channel.target_node < 0 || Channel.target_node >= Graph.Num())
        {
            FailImport("an animation channel targets node %d, which does not exist", Channel.target_node);
        }
        if (Channel.sampler < 0 || Channel.sampler >= static_cast<int32>(Animation.samplers.size()))
        {
            FailImport("an animation channel uses sampler %d, which does not exist", Channel.sampler);
        }
        if (BoneOfNode(Channel.target_node).IsNone())
        {
            AddWarningOnce("skipped animation channels of nodes that are no bones");
            return false;
        }
        FNodeChannels& Node = OutChannels[Channel.target_node];
        FSampledChannel* Target = Channel.target_path == "translation" ? &Node.Translation
                                  : Channel.target_path == "rotation"  ? &Node.Rotation
                                  : Channel.target_path == "scale"     ? &Node.Scale
                                                                       : nullptr;
        if (!Target)
        {
            FailImport("an animation channel has the unknown path '%s'", Channel.target_path.c_str());
        }
        ReadSampler(Animation.samplers[Channel.sampler], Target == &Node.Rotation, *Target);
        InOutEndTime = std::max(InOutEndTime, static_cast<double>(Target->Times.Last()));
        return true;
    }

    void ReadSampler(const tinygltf::AnimationSampler& Sampler, bool bRotation, FSampledChannel& Out)
    {
        Out.bRotation = bRotation;
        Out.NumComponents = bRotation ? 4 : 3;
        Out.Interpolation = Sampler.interpolation == "STEP"          ? EInterpolation::Step
                            : Sampler.interpolation == "CUBICSPLINE" ? EInterpolation::CubicSpline
                                                                     : EInterpolation::Linear;
        Reader.ReadFloats(Sampler.input, 1, "the animation key times", Out.Times);
        Reader.ReadFloats(Sampler.output, Out.NumComponents, "the animation key values", Out.Values);
        const int32 Stride = Out.Interpolation == EInterpolation::CubicSpline ? 3 : 1;
        if (Out.Times.IsEmpty() || Out.Values.Num() != Out.Times.Num() * Out.NumComponents * Stride)
        {
            FailImport("an animation sampler has %d key times but %d values", Out.Times.Num(),
                       Out.Values.Num() / Out.NumComponents);
        }
        for (int32 Key = 0; Key < Out.Times.Num(); ++Key)
        {
            if (Out.Times[Key] < 0.0f || (Key > 0 && Out.Times[Key] <= Out.Times[Key - 1]))
            {
                FailImport("animation key times must be positive and increasing");
            }
        }
    }

    /**
     * Sets the animation's frame rate and key count. This exporter records both; when every channel has
     * exactly the recorded number of keys they are the animation's own keys and are taken by index (true).
     * Otherwise the time range is sampled at the default rate.
     */
    bool ChooseKeys(const tinygltf::Animation& Animation, const std::map<int32, FNodeChannels>& Channels,
                    double EndTime, FImportedAnimation& Out)
    {
        const nlohmann::json Extras = InterchangeExtras::Find(Animation.extras);
        bool bRecorded = false;
        if (Extras.is_object() && Extras.contains("frameRate"))
        {
            InterchangeExtras::Guard("animation",
                                     [&]
                                     {
                                         Out.FrameRate =
                                             InterchangeExtras::ReadDouble(Extras.at("frameRate"));
                                         Out.NumberOfKeys = InterchangeExtras::ReadInt(
                                             Extras.at("numKeys"), 1, ImportLimits::MaxKeys);
                                         return 0;
                                     });
            bRecorded = true;
            if (!(Out.FrameRate > 0.0) || Out.NumberOfKeys < 1 || Out.NumberOfKeys > ImportLimits::MaxKeys)
            {
                FailImport("animation '%s' has an invalid frame rate or key count", *Out.Name);
            }
            if (!HaveKeyCount(Channels, Out.NumberOfKeys))
            {
                Warnings.Add(
                    FString::Printf("animation '%s': its channels do not have the %d keys its extras "
                                    "record; it is resampled at %g keys per second",
                                    *Out.Name, Out.NumberOfKeys, DefaultFrameRate));
                bRecorded = false;
            }
        }
        if (!bRecorded)
        {
            Out.FrameRate = DefaultFrameRate;
            Out.NumberOfKeys = CountSampledKeys(EndTime);
        }
        return bRecorded && !Channels.empty();
    }

    static bool HaveKeyCount(const std::map<int32, FNodeChannels>& Channels, int32 NumKeys)
    {
        for (const auto& [Node, NodeChannels] : Channels)
        {
            for (const FSampledChannel* Channel :
                 {&NodeChannels.Translation, &NodeChannels.Rotation, &NodeChannels.Scale})
            {
                if (Channel->IsSet() && Channel->Times.Num() != NumKeys)
                {
                    return false;
                }
            }
        }
        return true;
    }

    /** Refuses a file whose animations would take more keys, over all their tracks, than the limit. */
    void CountTrackKeys(const FImportedAnimation& Animation, int32 NumTracks)
    {
        TotalTrackKeys += static_cast<int64>(Animation.NumberOfKeys) * NumTracks;
        if (TotalTrackKeys > ImportLimits::MaxTotalTrackKeys)
        {
            FailImport("the animations need more than %lld keys over all their bone tracks (animation '%s' "
                       "has %d tracks of %d keys)",
                       static_cast<long long>(ImportLimits::MaxTotalTrackKeys), *Animation.Name, NumTracks,
                       Animation.NumberOfKeys);
        }
    }

    /** The transform from the node's parent to the parent's nearest bone, for nodes between bones. */
    FTransform BetweenTransform(int32 Node) const
    {
        const int32 Parent = Graph.GetParent(Node);
        if (Parent == INDEX_NONE || !BoneOfNode(Parent).IsNone())
        {
            return FTransform::Identity;
        }
        const int32 Ancestor = FindAncestor(
            Graph.GetParents(), Parent, [this](int32 Candidate) { return !BoneOfNode(Candidate).IsNone(); });
        return FTransform(Graph.GetRelative(Parent, Ancestor));
    }

    FAnimationBoneTrack MakeTrack(int32 Node, const FNodeChannels& Channels,
                                  const FImportedAnimation& Animation, bool bKeysByIndex) const
    {
        FAnimationBoneTrack Track;
        Track.Name = BoneOfNode(Node);
        const FTransform& Rest = Graph.GetLocal(Node);
        const FTransform Between = BetweenTransform(Node);
        const bool bBetween = !Between.Equals(FTransform::Identity, 0.0);
        for (int32 Key = 0; Key < Animation.NumberOfKeys; ++Key)
        {
            const double Time = Key / Animation.FrameRate;
            double T[3] = {Rest.GetTranslation().X, Rest.GetTranslation().Y, Rest.GetTranslation().Z};
            double R[4] = {Rest.GetRotation().X, Rest.GetRotation().Y, Rest.GetRotation().Z,
                           Rest.GetRotation().W};
            double S[3] = {Rest.GetScale3D().X, Rest.GetScale3D().Y, Rest.GetScale3D().Z};
            SampleInto(Channels.Translation, Key, Time, bKeysByIndex, T);
            SampleInto(Channels.Rotation, Key, Time, bKeysByIndex, R);
            SampleInto(Channels.Scale, Key, Time, bKeysByIndex, S);
            FTransform Local(FQuat(R[0], R[1], R[2], R[3]), FVector(T[0], T[1], T[2]),
                             FVector(S[0], S[1], S[2]));
            if (bBetween)
            {
                Local = Local * Between;
            }
            AddTrackKey(Track, Graph.GetConversion(), Local);
        }
        return Track;
    }

    static void SampleInto(const FSampledChannel& Channel, int32 Key, double Time, bool bKeysByIndex,
                           double* Out)
    {
        if (!Channel.IsSet())
        {
            return;
        }
        if (bKeysByIndex)
        {
            Channel.Copy(Channel.KeyValue(Key), Out);
        }
        else
        {
            Channel.Sample(Time, Out);
        }
    }

    void AddWarningOnce(const char* Warning)
    {
        if (!Warnings.Contains(FString(Warning)))
        {
            Warnings.Add(Warning);
        }
    }

    const tinygltf::Model& Model;
    const FGltfNodeGraph& Graph;
    const FBoneOfNode& BoneOfNode;
    TArray<FString>& Warnings;
    FGltfAccessorReader Reader;
    int64 TotalTrackKeys = 0;
};
} // namespace

void ReadGltfAnimations(const tinygltf::Model& Model, const FGltfNodeGraph& Graph,
                        const FBoneOfNode& BoneOfNode, TArray<FImportedAnimation>& OutAnimations,
                        TArray<FImportedGltfLayout::FAnimation>& OutLayouts, TArray<FString>& OutWarnings)
{
    FAnimationReader Reader(Model, Graph, BoneOfNode, OutWarnings);
    for (int32 Index = 0; Index < static_cast<int32>(Model.animations.size()); ++Index)
    {
        OutAnimations.Add(Reader.Read(Index, OutLayouts.Emplace_GetRef()));
    }
}
