#include "RivetCli/Reports/TriangleLists.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Render/PictureSource.h"
#include "RivetCli/Reports/JsonText.h"
#include "RivetCli/Selection/TriangleIslands.h"
#include "RivetMaterialSlots.h"

using nlohmann::json;

namespace
{
constexpr int32 MaxIslandsPrinted = 50;

/** Ascending IDs as ranges: "0-3,7,9-12". */
std::string FormatRanges(const TArray<int32>& SortedIDs)
{
    std::string Text;
    for (int32 Index = 0; Index < SortedIDs.Num();)
    {
        int32 Last = Index;
        while (Last + 1 < SortedIDs.Num() && SortedIDs[Last + 1] == SortedIDs[Last] + 1)
        {
            ++Last;
        }
        Text += (Text.empty() ? "" : ",") + std::to_string(SortedIDs[Index]);
        if (Last > Index)
        {
            Text += "-" + std::to_string(SortedIDs[Last]);
        }
        Index = Last + 1;
    }
    return Text;
}

json DescribeSlots(const USkeletalMesh& Mesh, const FDynamicMesh3& Preview)
{
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(&Mesh);
    const TArray<FSkeletalMaterial>& Slots = Mesh.GetMaterials();
    TArray<TArray<int32>> PerSlot;
    PerSlot.SetNum(Slots.Num());
    const FDynamicMeshMaterialAttribute* Groups =
        Preview.HasAttributes() ? Preview.Attributes()->GetMaterialID() : nullptr;
    for (const int32 Triangle : Preview.TriangleIndices())
    {
        const int32 Group = Groups ? Groups->GetValue(Triangle) : 0;
        const int32 Slot = GroupToSlot.IsValidIndex(Group) ? GroupToSlot[Group] : Group;
        if (PerSlot.IsValidIndex(Slot))
        {
            PerSlot[Slot].Add(Triangle);
        }
    }
    json List = json::array();
    for (int32 Slot = 0; Slot < Slots.Num(); ++Slot)
    {
        List.push_back({{"index", Slot},
                        {"name", *Slots[Slot].MaterialSlotName.ToString()},
                        {"triangles", PerSlot[Slot].Num()},
                        {"ids", FormatRanges(PerSlot[Slot])}});
    }
    return List;
}

json DescribeIslands(const FDynamicMesh3& Preview)
{
    json List = json::array();
    for (const TArray<int32>& Island : FindTriangleIslands(Preview).Islands)
    {
        List.push_back({{"triangles", Island.Num()}, {"ids", FormatRanges(Island)}});
    }
    return List;
}
} // namespace

json DescribeTriangleLists(const USkeletalMesh& Mesh)
{
    FDynamicMesh3 Preview;
    if (!ConvertLODForPicture(Mesh, 0, Preview))
    {
        return {{"slots", json::array()}, {"islands", json::array()}};
    }
    return {{"slots", DescribeSlots(Mesh, Preview)}, {"islands", DescribeIslands(Preview)}};
}

void PrintTriangleLists(FRivetConsole& Console, const json& Lists)
{
    Console.Print("  LOD 0 triangle IDs by slot (for tris:):");
    for (const json& Slot : Lists["slots"])
    {
        Console.Print(FString::Printf("    %d %s: %d triangles: %s", Slot["index"].get<int32>(),
                                      JsonText(Slot["name"]).c_str(), Slot["triangles"].get<int32>(),
                                      JsonText(Slot["ids"]).c_str()));
    }
    const int32 Count = static_cast<int32>(Lists["islands"].size());
    Console.Print(FString::Printf("  islands (%d; island:ID takes any ID of one):", Count));
    for (int32 Index = 0; Index < Count && Index < MaxIslandsPrinted; ++Index)
    {
        const json& Island = Lists["islands"][Index];
        Console.Print(FString::Printf("    island %d: %d triangles: %s", Index,
                                      Island["triangles"].get<int32>(), JsonText(Island["ids"]).c_str()));
    }
    if (Count > MaxIslandsPrinted)
    {
        Console.Print(FString::Printf("    ... %d more (see --json)", Count - MaxIslandsPrinted));
    }
}
