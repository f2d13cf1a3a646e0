#include "Interchange/Private/GltfExporter.h"

#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Private/AtomicFileWriter.h"
#include "Interchange/Private/GltfBufferWriter.h"
#include "Interchange/Private/GltfMeshExporter.h"
#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/PhysicsExtras.h"
#include "Interchange/Private/SourceFileMetadata.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>

using nlohmann::json;

namespace
{
constexpr double HalfSqrt2 = 0.70710678118654752440;

std::vector<double> ToArray(const FVector& V)
{
    return {V.X, V.Y, V.Z};
}

std::vector<double> ToArray(const FQuat& Q)
{
    return {Q.X, Q.Y, Q.Z, Q.W};
}

void SetTransform(tinygltf::Node& Node, const FTransform& Transform)
{
    if (!Transform.GetTranslation().Equals(FVector(0.0, 0.0, 0.0), 0.0))
    {
        Node.translation = ToArray(Transform.GetTranslation());
    }
    if (!(Transform.GetRotation() == FQuat::Identity))
    {
        Node.rotation = ToArray(Transform.GetRotation());
    }
    if (!Transform.GetScale3D().Equals(FVector(1.0, 1.0, 1.0), 0.0))
    {
        Node.scale = ToArray(Transform.GetScale3D());
    }
}

/** Builds the document; each part is one method. */
class FDocumentBuilder
{
public:
    FDocumentBuilder(tinygltf::Model& InModel, FGltfExportReport& InReport, FGltfLayoutRecord InLayout = {})
        : Model(InModel), Report(InReport), Writer(InModel), Layout(std::move(InLayout))
    {
        Model.asset.version = "2.0";
        Model.asset.generator = "RivetEditor Interchange";
        Model.scenes.emplace_back();
        Model.defaultScene = 0;
    }

    /** The conversion node and one node per bone below it; answers the bones' nodes. */
    void WriteBones(const FReferenceSkeleton& Bones)
    {
        tinygltf::Node Conversion;
        Conversion.name = "HostToGltf";
        Conversion.rotation = {-HalfSqrt2, 0.0, 0.0, HalfSqrt2};
        Conversion.scale = {0.01, 0.01, 0.01};
        Conversion.extras = InterchangeExtras::ToGltf(
            {{InterchangeExtras::Key,
              {{"conversion", InterchangeExtras::ConversionMarker},
               {"note", "host space (Z up, centimetres) below this node; dropped on import"}}}});
        Model.nodes.push_back(Conversion);
        Model.scenes[0].nodes.push_back(0);
        for (int32 Bone = 0; Bone < Bones.GetRawBoneNum(); ++Bone)
        {
            tinygltf::Node Node;
            Node.name = *Bones.GetRawBoneName(Bone).ToString();
            // The raw pose as the skeleton holds it: a read takes it as the raw pose again.
            SetTransform(Node, Bones.GetRawRefBonePose()[Bone]);
            BoneNodes.Add(static_cast<int32>(Model.nodes.size()));
            const int32 Parent = Bones.GetRawParentIndex(Bone);
            Model.nodes[Parent == INDEX_NONE ? 0 : BoneNodes[Parent]].children.push_back(BoneNodes.Last());
            Model.nodes.push_back(Node);
        }
        RefSkeleton = &Bones;
    }

    void WriteSockets(const TArray<TObjectPtr<USkeletalMeshSocket>>& Sockets)
    {
        for (const USkeletalMeshSocket* Socket : Sockets)
        {
            const int32 Bone = Socket ? RefSkeleton->FindRawBoneIndex(Socket->BoneName) : INDEX_NONE;
            if (Bone == INDEX_NONE)
            {
                Report.Warnings.Add(
                    FString::Printf("socket '%s' is on no bone of the mesh and was not written",
                                    Socket ? *Socket->SocketName.ToString() : "None"));
                continue;
            }
            tinygltf::Node Node;
            Node.name = *Socket->SocketName.ToString();
            SetTransform(
                Node, FTransform(Socket->RelativeRotation, Socket->RelativeLocation, Socket->RelativeScale));
            Node.extras = InterchangeExtras::ToGltf(
                {{InterchangeExtras::Key,
                  {{"socket",
                    {{"rotation", InterchangeExtras::WriteRotator(Socket->RelativeRotation)},
                     {"forceAlwaysAnimated", Socket->bForceAlwaysAnimated}}}}}});
            Model.nodes[BoneNodes[Bone]].children.push_back(static_cast<int>(Model.nodes.size()));
            Model.nodes.push_back(Node);
        }
    }

    /** A material per material the slots use, named after its first slot, and one per slot without one. */
    void WriteMaterials(const TArray<FSkeletalMaterial>& Slots)
    {
        TMap<const UMaterial*, int32> Written;
        for (const FSkeletalMaterial& Slot : Slots)
        {
            const UMaterial* Source = Slot.Material.Get();
            if (const int32* Found = Source ? Written.Find(Source) : nullptr)
            {
                MaterialOfSlot.Add(*Found);
                continue;
            }
            tinygltf::Material Material;
            Material.name = *Slot.MaterialSlotName.ToString();
            if (Source)
            {
                const FVector4f& C = Source->BaseColor;
                Material.pbrMetallicRoughness.baseColorFactor = {C.X, C.Y, C.Z, C.W};
                Material.pbrMetallicRoughness.metallicFactor = Source->Metallic;
                Material.pbrMetallicRoughness.roughnessFactor = Source->Roughness;
                Material.doubleSided = Source->bTwoSided;
                Written.Add(Source, static_cast<int32>(Model.materials.size()));
            }
            MaterialOfSlot.Add(static_cast<int32>(Model.materials.size()));
            Model.materials.push_back(Material);
        }
    }

    void WriteMeshes(const USkeletalMesh& Mesh)
    {
        json Own{{"slots", json::array()}, {"lods", json::array()}};
        for (int32 Slot = 0; Slot < Mesh.GetMaterials().Num(); ++Slot)
        {
            Own["slots"].push_back(
                InterchangeExtras::WriteSlot(Mesh.GetMaterials()[Slot], MaterialOfSlot[Slot]));
        }
        int32 MainMesh = INDEX_NONE;
        for (int32 LODIndex = 0; LODIndex < Mesh.GetLODNum(); ++LODIndex)
        {
            const FMeshDescription* Description = Mesh.GetMeshDescription(LODIndex);
            if (!Description)
            {
                Report.Warnings.Add(
                    FString::Printf("LOD %d has no mesh description and was not written", LODIndex));
                continue;
            }
            const FString Name = Layout.MeshNames.IsValidIndex(LODIndex)
                                     ? Layout.MeshNames[LODIndex]
                                     : FString::Printf("%s_LOD%d", *Mesh.GetName(), LODIndex);
            const FGltfMeshExport Written = WriteGltfMesh(
                *Description, MaterialOfGroup(*Description, *Mesh.GetLODInfo(LODIndex)), Name, Writer, Model);
            Report.NumDroppedInfluenceVertices += Written.NumDroppedVertices;
            const json Info = InterchangeExtras::WriteLODInfo(*Mesh.GetLODInfo(LODIndex));
            if (MainMesh == INDEX_NONE)
            {
                MainMesh = Written.MeshIndex;
                Own["lodInfo"] = Info;
            }
            else
            {
                Own["lods"].push_back({{"mesh", Written.MeshIndex}, {"info", Info}});
            }
        }
        if (MainMesh == INDEX_NONE)
        {
            return;
        }
        json Extras = InterchangeExtras::FromGltf(Model.meshes[MainMesh].extras);
        Extras[InterchangeExtras::Key].update(Own);
        Model.meshes[MainMesh].extras = InterchangeExtras::ToGltf(Extras);
        tinygltf::Node Node;
        Node.name = *(Layout.bRecorded ? Layout.MeshNodeName : Mesh.GetName());
        Node.mesh = MainMesh;
        Node.skin = 0;
        Model.scenes[0].nodes.push_back(static_cast<int>(Model.nodes.size()));
        Model.nodes.push_back(Node);
    }

    void WriteSkin(const USkeletalMesh& Mesh)
    {
        tinygltf::Skin Skin;
        Skin.name = *(Layout.bRecorded ? Layout.SkinName : Mesh.GetName());
        Skin.skeleton = BoneNodes.IsEmpty() ? -1 : BoneNodes[0];
        TArray<float> Matrices;
        const TArray<FMatrix44f>& Inverse = Mesh.GetRefBasesInvMatrix();
        for (int32 Bone = 0; Bone < BoneNodes.Num(); ++Bone)
        {
            Skin.joints.push_back(BoneNodes[Bone]);
            const FMatrix44f Matrix =
                Inverse.Num() == BoneNodes.Num() ? Inverse[Bone] : ComputeInverseBind(Bone);
            for (int32 Index = 0; Index < 16; ++Index)
            {
                Matrices.Add(Matrix.M[Index / 4][Index % 4]);
            }
        }
        Skin.inverseBindMatrices = Writer.AddFloats(Matrices, 16, false);
        Model.skins.push_back(Skin);
        WriteAssetExtras(Mesh);
    }

    /** The skeleton's retargeting modes and sockets and the physics asset, in the conversion node's extras.
     */
    void WriteAssetExtras(const USkeletalMesh& Mesh)
    {
        json Own = InterchangeExtras::FromGltf(Model.nodes[0].extras)[InterchangeExtras::Key];
        if (const USkeleton* Skeleton = Mesh.GetSkeleton())
        {
            json Sockets = json::array();
            for (const USkeletalMeshSocket* Socket : Skeleton->Sockets)
            {
                if (Socket)
                {
                    Sockets.push_back(InterchangeExtras::WriteSocket(*Socket));
                }
            }
            Own["skeleton"] = {{"retargetingModes", RetargetingModes(*Skeleton)}, {"sockets", Sockets}};
        }
        if (const UPhysicsAsset* Physics = Mesh.GetPhysicsAsset())
        {
            Own["physics"] = PhysicsExtras::Write(*Physics);
        }
        Model.nodes[0].extras = InterchangeExtras::ToGltf({{InterchangeExtras::Key, Own}});
    }

    void WriteAnimations(const TArray<UAnimSequence*>& Animations)
    {
        for (const UAnimSequence* Animation : Animations)
        {
            const UAnimationDataModel* Data = Animation ? Animation->GetDataModel() : nullptr;
            if (!Data || Data->GetNumberOfKeys() < 1 || Data->GetBoneAnimationTracks().IsEmpty())
            {
                continue;
            }
            WriteAnimation(*Animation, *Data);
        }
    }

private:
    FMatrix44f ComputeInverseBind(int32 Bone) const
    {
        FTransform Global = RefSkeleton->GetRefBonePose()[Bone];
        for (int32 Parent = RefSkeleton->GetParentIndex(Bone); Parent != INDEX_NONE;
             Parent = RefSkeleton->GetParentIndex(Parent))
        {
            Global = Global * RefSkeleton->GetRefBonePose()[Parent];
        }
        return FMatrix44f(Global.ToMatrixWithScale().Inverse());
    }

    json RetargetingModes(const USkeleton& Skeleton) const
    {
        json Modes = json::object();
        const FReferenceSkeleton& Bones = Skeleton.GetReferenceSkeleton();
        for (int32 Bone = 0; Bone < Bones.GetRawBoneNum(); ++Bone)
        {
            const auto Mode = Skeleton.GetBoneTranslationRetargetingMode(Bone);
            if (Mode != EBoneTranslationRetargetingMode::Animation)
            {
                Modes[*Bones.GetRawBoneName(Bone).ToString()] = static_cast<int32>(Mode);
            }
        }
        return Modes;
    }

    /** The file material of each polygon group: that of the slot it draws with (see SlotOfGroup). */
    TArray<int32> MaterialOfGroup(const FMeshDescription& Description, const FSkeletalLODInfo& Info) const
    {
        TArray<int32> Materials = SlotOfGroup(Description, Info);
        for (int32& Slot : Materials)
        {
            Slot = MaterialOfSlot.IsValidIndex(Slot) ? MaterialOfSlot[Slot] : INDEX_NONE;
        }
        return Materials;
    }

    /** Section i (the i-th group with triangles) draws with LODMaterialMap[i] when set, else with its group's
     * slot. */
    static TArray<int32> SlotOfGroup(const FMeshDescription& Description, const FSkeletalLODInfo& Info)
    {
        TArray<int32> HasTriangles;
        HasTriangles.Init(0, Description.PolygonGroups().GetArraySize());
        for (const FTriangleID Triangle : Description.Triangles().GetElementIDs())
        {
            HasTriangles[Description.GetTrianglePolygonGroup(Triangle).GetValue()] = 1;
        }
        TArray<int32> Slots;
        Slots.Init(INDEX_NONE, Description.PolygonGroups().GetArraySize());
        int32 Section = 0;
        for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
        {
            Slots[Group.GetValue()] = Group.GetValue();
            if (!HasTriangles[Group.GetValue()])
            {
                continue;
            }
            if (Info.LODMaterialMap.IsValidIndex(Section) && Info.LODMaterialMap[Section] != INDEX_NONE)
            {
                Slots[Group.GetValue()] = Info.LODMaterialMap[Section];
            }
            ++Section;
        }
        return Slots;
    }

    void WriteAnimation(const UAnimSequence& Animation, const UAnimationDataModel& Data)
    {
        const FImportedGltfLayout::FAnimation* Recorded = Layout.Animations.Find(Animation.GetName());
        tinygltf::Animation Out;
        Out.name = *(Recorded ? Recorded->Name : Animation.GetName());
        const int32 NumKeys = Data.GetNumberOfKeys();
        TArray<float> Times;
        for (int32 Key = 0; Key < NumKeys; ++Key)
        {
            Times.Add(static_cast<float>(Key / Data.GetFrameRate()));
        }
        const int32 Input = Writer.AddFloats(Times, 1, true);
        const TArray<FAnimationBoneTrack>& Tracks = Data.GetBoneAnimationTracks();
        TArray<float> Values;
        for (const FTrackChannel& Channel : OrderChannels(Animation, Tracks, NumKeys, Recorded))
        {
            const FAnimationBoneTrack& Track = Tracks[Channel.Track];
            ReadKeys(Track, Channel.Path, Values);
            AddChannel(Out, Input, Values, Channel.Path == ETrackPath::Rotation ? 4 : 3,
                       BoneNodes[RefSkeleton->FindRawBoneIndex(Track.Name)], PathNames[Channel.Path]);
        }
        if (Out.channels.empty())
        {
            return;
        }
        Out.extras = InterchangeExtras::ToGltf(
            {{InterchangeExtras::Key, {{"frameRate", Data.GetFrameRate()}, {"numKeys", NumKeys}}}});
        Model.animations.push_back(std::move(Out));
    }

    enum ETrackPath : int32
    {
        Translation,
        Rotation,
        Scale,
    };
    static constexpr const char* PathNames[3] = {"translation", "rotation", "scale"};

    struct FTrackChannel
    {
        int32 Track;
        ETrackPath Path;
    };

    /** The keys of one path of a track as floats; rotations normalised. */
    static void ReadKeys(const FAnimationBoneTrack& Track, ETrackPath Path, TArray<float>& OutValues)
    {
        OutValues.Reset();
        if (Path == ETrackPath::Rotation)
        {
            for (const FQuat4f& Q : Track.RotationKeys)
            {
                const FQuat4f R = Q.IsNormalized() ? Q : Q.GetNormalized();
                OutValues.Append({R.X, R.Y, R.Z, R.W});
            }
            return;
        }
        for (const FVector3f& V : Path == ETrackPath::Translation ? Track.PositionKeys : Track.ScaleKeys)
        {
            OutValues.Append({V.X, V.Y, V.Z});
        }
    }

    /**
     * The channels of the tracks that match a bone: first those the file the animation came from had,
     * in its order, then the others, track by track.
     */
    TArray<FTrackChannel> OrderChannels(const UAnimSequence& Animation,
                                        const TArray<FAnimationBoneTrack>& Tracks, int32 NumKeys,
                                        const FImportedGltfLayout::FAnimation* Recorded)
    {
        TMap<FName, int32> TrackOfBone;
        for (int32 Track = 0; Track < Tracks.Num(); ++Track)
        {
            if (RefSkeleton->FindRawBoneIndex(Tracks[Track].Name) == INDEX_NONE ||
                Tracks[Track].GetNumKeys() != NumKeys)
            {
                Report.Warnings.Add(
                    FString::Printf("the track of '%s' in '%s' matches no bone and was not written",
                                    *Tracks[Track].Name.ToString(), *Animation.GetName()));
                continue;
            }
            if (!TrackOfBone.Contains(Tracks[Track].Name))
            {
                TrackOfBone.Add(Tracks[Track].Name, Track);
            }
        }
        TArray<uint8> Written;
        Written.Init(0, Tracks.Num() * 3);
        TArray<FTrackChannel> Order;
        const auto Add = [&](int32 Track, ETrackPath Path)
        {
            if (!Written[Track * 3 + Path])
            {
                Written[Track * 3 + Path] = 1;
                Order.Add({Track, Path});
            }
        };
        for (int32 Index = 0; Recorded && Index < Recorded->Channels.Num(); ++Index)
        {
            const int32* Track = TrackOfBone.Find(Recorded->Channels[Index].Bone);
            const auto Path =
                std::find(std::begin(PathNames), std::end(PathNames), Recorded->Channels[Index].Path);
            if (Track && Path != std::end(PathNames))
            {
                Add(*Track, static_cast<ETrackPath>(Path - std::begin(PathNames)));
            }
        }
        for (const TPair<FName, int32>& Entry : TrackOfBone)
        {
            for (const ETrackPath Path : {Translation, Rotation, Scale})
            {
                Add(Entry.Value, Path);
            }
        }
        return Order;
    }

    void AddChannel(tinygltf::Animation& Animation, int32 Input, const TArray<float>& Values,
                    int32 NumComponents, int32 Node, const char* Path)
    {
        tinygltf::AnimationSampler Sampler;
        Sampler.input = Input;
        Sampler.output = Writer.AddFloats(Values, NumComponents, false);
        Sampler.interpolation = "LINEAR";
        tinygltf::AnimationChannel Channel;
        Channel.sampler = static_cast<int>(Animation.samplers.size());
        Channel.target_node = Node;
        Channel.target_path = Path;
        Animation.samplers.push_back(Sampler);
        Animation.channels.push_back(Channel);
    }

    tinygltf::Model& Model;
    FGltfExportReport& Report;
    FGltfBufferWriter Writer;
    /** The names and orders of the file the mesh came from, when it was a glTF file. */
    FGltfLayoutRecord Layout;
    TArray<int32> MaterialOfSlot;
    TArray<int32> BoneNodes;
    const FReferenceSkeleton* RefSkeleton = nullptr;
};

/** The JSON of a .gltf with its buffer moved out to BinName. */
std::string ExternaliseBuffer(const std::string& Document, const std::string& BinName)
{
    json Parsed = json::parse(Document);
    if (Parsed.contains("buffers") && !Parsed["buffers"].empty())
    {
        Parsed["buffers"][0]["uri"] = BinName;
    }
    return Parsed.dump(2);
}
/**
 * True when every number the document holds is finite: a float accessor's data, a node's transform,
 * an accessor's bounds. A non-finite number is written as null and the file could not be read again.
 */
bool IsFinite(const tinygltf::Model& Model)
{
    const auto Finite = [](const std::vector<double>& Values)
    {
        return std::all_of(Values.begin(), Values.end(), [](double Value) { return std::isfinite(Value); });
    };
    for (const tinygltf::Node& Node : Model.nodes)
    {
        if (!Finite(Node.translation) || !Finite(Node.rotation) || !Finite(Node.scale) ||
            !Finite(Node.matrix))
        {
            return false;
        }
    }
    for (const tinygltf::Accessor& Accessor : Model.accessors)
    {
        if (!Finite(Accessor.minValues) || !Finite(Accessor.maxValues))
        {
            return false;
        }
        if (Accessor.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT || Accessor.bufferView < 0)
        {
            continue;
        }
        const tinygltf::BufferView& View = Model.bufferViews[Accessor.bufferView];
        const unsigned char* Data =
            Model.buffers[View.buffer].data.data() + View.byteOffset + Accessor.byteOffset;
        const size_t NumValues =
            Accessor.count * tinygltf::GetNumComponentsInType(static_cast<uint32>(Accessor.type));
        for (size_t Index = 0; Index < NumValues; ++Index)
        {
            float Value;
            std::memcpy(&Value, Data + Index * sizeof(float), sizeof(float));
            if (!std::isfinite(Value))
            {
                return false;
            }
        }
    }
    return true;
}
} // namespace

void BuildGltfDocument(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations,
                       tinygltf::Model& OutModel, FGltfExportReport& OutReport)
{
    FDocumentBuilder Builder(OutModel, OutReport, SourceFileMetadata::ReadGltfLayout(Mesh.GetSourceFile()));
    Builder.WriteBones(Mesh.GetRefSkeleton());
    Builder.WriteSockets(Mesh.GetMeshOnlySocketList());
    Builder.WriteMaterials(Mesh.GetMaterials());
    Builder.WriteSkin(Mesh);
    Builder.WriteMeshes(Mesh);
    Builder.WriteAnimations(Animations);
}

void BuildGltfAnimationDocument(const USkeleton& Skeleton, const TArray<UAnimSequence*>& Animations,
                                tinygltf::Model& OutModel, FGltfExportReport& OutReport)
{
    FDocumentBuilder Builder(OutModel, OutReport);
    Builder.WriteBones(Skeleton.GetReferenceSkeleton());
    Builder.WriteAnimations(Animations);
}

bool SerializeGltfDocument(const tinygltf::Model& Model, bool bBinary, std::string& OutBytes, FString& OutError)
{
    if (!IsFinite(Model))
    {
        OutError = "a position, transform or animation key of the asset is not a finite number, so the file "
                   "could not be read back; nothing was written";
        return false;
    }
    tinygltf::TinyGLTF Writer;
    std::ostringstream Stream;
    if (!Writer.WriteGltfSceneToStream(&Model, Stream, !bBinary, bBinary))
    {
        OutError = "the glTF document could not be serialised";
        return false;
    }
    OutBytes = std::move(Stream).str();
    return true;
}

bool WriteGltfDocument(const tinygltf::Model& Model, const FString& Path, bool bBinary, FString& OutError)
{
    std::string Document;
    if (!SerializeGltfDocument(Model, bBinary, Document, OutError))
    {
        return false;
    }
    if (bBinary)
    {
        return WriteFileAtomically(Path, Document, OutError);
    }
    const std::filesystem::path Target(Path.ToStdString());
    const std::string BinName = Target.stem().string() + ".bin";
    const std::vector<unsigned char>& Bytes =
        Model.buffers.empty() ? std::vector<unsigned char>() : Model.buffers[0].data;
    const FString BinPath((Target.parent_path() / BinName).string());
    // Both files are complete before either replaces an earlier one; the .gltf, which names the .bin, goes
    // last.
    FAtomicFileSet Files;
    return Files.Add(BinPath, std::string_view(reinterpret_cast<const char*>(Bytes.data()), Bytes.size()),
                     OutError) &&
           Files.Add(Path, ExternaliseBuffer(Document, BinName), OutError) && Files.Commit(OutError);
}
