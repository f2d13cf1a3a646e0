#include "RivetCli/Reports/AssetReport.h"

#include "Engine/Animation/AnimSequence.h"
#include "Engine/Animation/AnimationDataModel.h"
#include "Engine/Animation/Skeleton.h"
#include "Engine/Materials/Material.h"
#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Engine/PhysicsEngine/PhysicsConstraintTemplate.h"
#include "Engine/PhysicsEngine/SkeletalBodySetup.h"
#include "Engine/SkeletalMesh/MorphTarget.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/SkeletalMesh/SkeletalMeshSocket.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Reports/JsonText.h"
#include "RivetMaterialSlots.h"

#include <unordered_map>

using nlohmann::json;

namespace
{
std::string NameOf(FName Name)
{
    return *Name.ToString();
}

json DescribeVector(const FVector& Vector)
{
    return json::array({Vector.X, Vector.Y, Vector.Z});
}

FBox ComputeVertexBounds(const FMeshDescription& Description)
{
    FBox Bounds;
    const auto Positions = FSkeletalMeshAttributesShared(Description).GetVertexPositions();
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        Bounds += FVector(Positions[Vertex]);
    }
    return Bounds;
}

json DescribeLODs(const USkeletalMesh& Mesh)
{
    json LODs = json::array();
    const FSkeletalMeshImportedModel* Model = Mesh.GetImportedModel();
    for (int32 LOD = 0; LOD < Mesh.GetLODNum(); ++LOD)
    {
        json Entry = {{"index", LOD}};
        if (const FMeshDescription* Description = Mesh.GetMeshDescription(LOD))
        {
            Entry["triangles"] = Description->Triangles().Num();
            Entry["vertices"] = Description->Vertices().Num();
            Entry["bounds"] = DescribeBounds(ComputeVertexBounds(*Description));
        }
        if (Model && LOD < Model->LODModels.Num())
        {
            Entry["sections"] = Model->LODModels[LOD].Sections.Num();
        }
        LODs.push_back(std::move(Entry));
    }
    return LODs;
}

json DescribeMaterialSlots(const USkeletalMesh& Mesh)
{
    json Slots = json::array();
    const TArray<int32> Triangles = CountTrianglesPerSlot(&Mesh);
    const TArray<FSkeletalMaterial>& Materials = Mesh.GetMaterials();
    for (int32 Slot = 0; Slot < Materials.Num(); ++Slot)
    {
        const FSkeletalMaterial& Material = Materials[Slot];
        Slots.push_back({{"index", Slot},
                         {"name", NameOf(Material.MaterialSlotName)},
                         {"importedName", NameOf(Material.ImportedMaterialSlotName)},
                         {"material", Material.Material ? json(*Material.Material->GetName()) : json()},
                         {"triangles", Triangles[Slot]}});
    }
    return Slots;
}

json DescribeLOD0MaterialMap(const USkeletalMesh& Mesh)
{
    json Map = json::array();
    if (const FSkeletalLODInfo* Info = Mesh.GetLODInfo(0))
    {
        for (const int32 Entry : Info->LODMaterialMap)
        {
            Map.push_back(Entry);
        }
    }
    return Map;
}

json DescribeBones(const FReferenceSkeleton& Bones)
{
    json List = json::array();
    for (int32 Bone = 0; Bone < Bones.GetNum(); ++Bone)
    {
        const int32 Parent = Bones.GetParentIndex(Bone);
        List.push_back({{"index", Bone},
                        {"name", NameOf(Bones.GetBoneName(Bone))},
                        {"parent", Parent == INDEX_NONE ? json() : json(NameOf(Bones.GetBoneName(Parent)))}});
    }
    return List;
}

json DescribeMorphTargets(const USkeletalMesh& Mesh)
{
    json Names = json::array();
    for (const UMorphTarget* Target : Mesh.GetMorphTargets())
    {
        Names.push_back(NameOf(Target->GetMorphName()));
    }
    return Names;
}

void AddSockets(json& List, const TArray<TObjectPtr<USkeletalMeshSocket>>& Sockets, const char* Owner)
{
    for (const USkeletalMeshSocket* Socket : Sockets)
    {
        List.push_back(
            {{"name", NameOf(Socket->SocketName)}, {"bone", NameOf(Socket->BoneName)}, {"owner", Owner}});
    }
}

json DescribeSockets(const USkeletalMesh& Mesh)
{
    json List = json::array();
    AddSockets(List, Mesh.GetMeshOnlySocketList(), "mesh");
    if (const USkeleton* Skeleton = Mesh.GetSkeleton())
    {
        AddSockets(List, Skeleton->Sockets, "skeleton");
    }
    return List;
}

json DescribePhysics(const UPhysicsAsset* Physics)
{
    if (!Physics)
    {
        return nullptr;
    }
    json Bodies = json::array();
    for (const USkeletalBodySetup* Body : Physics->SkeletalBodySetups)
    {
        Bodies.push_back({{"bone", NameOf(Body->BoneName)}, {"shapes", Body->AggGeom.GetElementCount()}});
    }
    json Constraints = json::array();
    for (const UPhysicsConstraintTemplate* Constraint : Physics->ConstraintSetup)
    {
        Constraints.push_back({{"bone1", NameOf(Constraint->DefaultInstance.ConstraintBone1)},
                               {"bone2", NameOf(Constraint->DefaultInstance.ConstraintBone2)}});
    }
    return {{"name", *Physics->GetName()}, {"bodies", Bodies}, {"constraints", Constraints}};
}

json DescribeAnimations(const TArray<UAnimSequence*>& Animations)
{
    json List = json::array();
    for (const UAnimSequence* Animation : Animations)
    {
        const UAnimationDataModel* Model = Animation->GetDataModel();
        List.push_back({{"name", *Animation->GetName()},
                        {"keys", Model ? Model->GetNumberOfKeys() : 0},
                        {"frameRate", Model ? Model->GetFrameRate() : 0.0},
                        {"length", Model ? Model->GetPlayLength() : 0.0},
                        {"tracks", Model ? Model->GetBoneAnimationTracks().Num() : 0}});
    }
    return List;
}
} // namespace

json DescribeBounds(const FBox& Bounds)
{
    if (!Bounds.bIsValid)
    {
        return nullptr;
    }
    return {{"min", DescribeVector(Bounds.Min)},
            {"max", DescribeVector(Bounds.Max)},
            {"size", DescribeVector(Bounds.GetSize())}};
}

void AddFileBounds(json& Asset, const FInterchangeFileFrame& Frame)
{
    Asset["fileFrame"] = {{"known", Frame.bKnown}, {"axes", *Frame.Describe()}};
    if (!Frame.bKnown)
    {
        return;
    }
    for (json& LOD : Asset["lods"])
    {
        const json& Host = LOD.value("bounds", json());
        if (Host.is_null())
        {
            continue;
        }
        const auto Read = [](const json& Vector)
        {
            return FVector(Vector[0].get<double>(), Vector[1].get<double>(), Vector[2].get<double>());
        };
        LOD["fileBounds"] = DescribeBounds(Frame.ToFile(FBox(Read(Host["min"]), Read(Host["max"]))));
    }
}

json DescribeAsset(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations)
{
    return {{"name", *Mesh.GetName()},
            {"lods", DescribeLODs(Mesh)},
            {"materialSlots", DescribeMaterialSlots(Mesh)},
            {"lod0MaterialMap", DescribeLOD0MaterialMap(Mesh)},
            {"bones", DescribeBones(Mesh.GetRefSkeleton())},
            {"morphTargets", DescribeMorphTargets(Mesh)},
            {"sockets", DescribeSockets(Mesh)},
            {"physicsAsset", DescribePhysics(Mesh.GetPhysicsAsset())},
            {"animations", DescribeAnimations(Animations)}};
}

namespace
{
std::string JoinNames(const json& Names)
{
    std::string Joined;
    for (const json& Name : Names)
    {
        Joined += (Joined.empty() ? "" : ", ") + JsonText(Name);
    }
    return Joined.empty() ? "none" : Joined;
}

std::string FormatVector(const json& Vector)
{
    return *FString::Printf("(%.6g, %.6g, %.6g)", Vector[0].get<double>(), Vector[1].get<double>(),
                            Vector[2].get<double>());
}

void PrintBounds(FRivetConsole& Console, const json& Bounds, const std::string& Frame)
{
    if (Bounds.is_null())
    {
        return;
    }
    Console.Print(FString::Printf("    bounds in %s: min %s, max %s, size %s", Frame.c_str(),
                                  FormatVector(Bounds["min"]).c_str(), FormatVector(Bounds["max"]).c_str(),
                                  FormatVector(Bounds["size"]).c_str()));
}

void PrintLODs(FRivetConsole& Console, const json& LODs, const json& FileFrame)
{
    for (const json& LOD : LODs)
    {
        const std::string Geometry =
            LOD.contains("triangles")
                ? *FString::Printf("%d triangles, %d vertices", LOD["triangles"].get<int32>(),
                                   LOD["vertices"].get<int32>())
                : "no editable geometry";
        Console.Print(FString::Printf("  LOD %d: %s, %d sections", LOD["index"].get<int32>(),
                                      Geometry.c_str(), LOD.value("sections", 0)));
        PrintBounds(Console, LOD.value("bounds", json()), "host axes (Z up, centimetres)");
        PrintBounds(Console, LOD.value("fileBounds", json()),
                    "the file's axes (" + FileFrame.value("axes", std::string()) + ")");
    }
}

void PrintMaterialSlots(FRivetConsole& Console, const json& Asset)
{
    Console.Print(
        FString::Printf("  material slots (%d):", static_cast<int32>(Asset["materialSlots"].size())));
    for (const json& Slot : Asset["materialSlots"])
    {
        Console.Print(
            FString::Printf("    %d %s: %d triangles, material %s", Slot["index"].get<int32>(),
                            JsonText(Slot["name"]).c_str(), Slot["triangles"].get<int32>(),
                            Slot["material"].is_null() ? "none" : JsonText(Slot["material"]).c_str()));
    }
    const json& Map = Asset["lod0MaterialMap"];
    Console.Print(FString::Printf("  LOD0 material map: %s", Map.empty() ? "empty" : Map.dump().c_str()));
}

void PrintBones(FRivetConsole& Console, const json& Bones)
{
    Console.Print(FString::Printf("  bones (%d):", static_cast<int32>(Bones.size())));
    // A parent always comes before its children.
    std::unordered_map<std::string, int32> Depths;
    for (const json& Bone : Bones)
    {
        const int32 Depth = Bone["parent"].is_null() ? 0 : Depths[JsonText(Bone["parent"])] + 1;
        Depths[JsonText(Bone["name"])] = Depth;
        Console.Print(
            FString::Printf("    %s%s", std::string(2 * Depth, ' ').c_str(), JsonText(Bone["name"]).c_str()));
    }
}

void PrintSockets(FRivetConsole& Console, const json& Sockets)
{
    Console.Print(FString::Printf("  sockets (%d):", static_cast<int32>(Sockets.size())));
    for (const json& Socket : Sockets)
    {
        Console.Print(FString::Printf("    %s on %s (%s)", JsonText(Socket["name"]).c_str(),
                                      JsonText(Socket["bone"]).c_str(), JsonText(Socket["owner"]).c_str()));
    }
}

void PrintPhysics(FRivetConsole& Console, const json& Physics)
{
    if (Physics.is_null())
    {
        Console.Print("  physics asset: none");
        return;
    }
    Console.Print(FString::Printf(
        "  physics asset %s: %d bodies, %d constraints", JsonText(Physics["name"]).c_str(),
        static_cast<int32>(Physics["bodies"].size()), static_cast<int32>(Physics["constraints"].size())));
    for (const json& Body : Physics["bodies"])
    {
        Console.Print(FString::Printf("    body %s: %d shapes", JsonText(Body["bone"]).c_str(),
                                      Body["shapes"].get<int32>()));
    }
    for (const json& Constraint : Physics["constraints"])
    {
        Console.Print(FString::Printf("    constraint %s - %s", JsonText(Constraint["bone1"]).c_str(),
                                      JsonText(Constraint["bone2"]).c_str()));
    }
}

void PrintAnimations(FRivetConsole& Console, const json& Animations)
{
    Console.Print(FString::Printf("  animations (%d):", static_cast<int32>(Animations.size())));
    for (const json& Animation : Animations)
    {
        Console.Print(FString::Printf("    %s: %d keys at %g fps (%.2f s), %d tracks",
                                      JsonText(Animation["name"]).c_str(), Animation["keys"].get<int32>(),
                                      Animation["frameRate"].get<double>(), Animation["length"].get<double>(),
                                      Animation["tracks"].get<int32>()));
    }
}
} // namespace

void PrintMaterialSlotTable(FRivetConsole& Console, const USkeletalMesh& Mesh)
{
    PrintMaterialSlots(Console, {{"materialSlots", DescribeMaterialSlots(Mesh)},
                                 {"lod0MaterialMap", DescribeLOD0MaterialMap(Mesh)}});
}

void PrintAssetReport(FRivetConsole& Console, const json& Asset)
{
    Console.Print(FString::Printf("skeletal mesh %s", JsonText(Asset["name"]).c_str()));
    PrintLODs(Console, Asset["lods"], Asset.value("fileFrame", json::object()));
    if (Asset.contains("fileFrame") && !Asset["fileFrame"]["known"].get<bool>())
    {
        Console.Print(
            FString::Printf("  the file's axes are %s", JsonText(Asset["fileFrame"]["axes"]).c_str()));
    }
    PrintMaterialSlots(Console, Asset);
    PrintBones(Console, Asset["bones"]);
    Console.Print(FString::Printf("  morph targets (%d): %s",
                                  static_cast<int32>(Asset["morphTargets"].size()),
                                  JoinNames(Asset["morphTargets"]).c_str()));
    PrintSockets(Console, Asset["sockets"]);
    PrintPhysics(Console, Asset["physicsAsset"]);
    PrintAnimations(Console, Asset["animations"]);
}
