#include "Interchange/Private/GltfPrimitiveGroups.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeExtras.h"
#include "Interchange/Private/InterchangeFailure.h"

namespace
{
/** The surface parameters of a glTF material. */
FImportedMaterial ReadSurface(const tinygltf::Material& Material)
{
    FImportedMaterial Surface;
    const std::vector<double>& Color = Material.pbrMetallicRoughness.baseColorFactor;
    if (Color.size() == 4)
    {
        Surface.BaseColor = FVector4f(static_cast<float>(Color[0]), static_cast<float>(Color[1]),
                                      static_cast<float>(Color[2]), static_cast<float>(Color[3]));
    }
    Surface.Metallic = static_cast<float>(Material.pbrMetallicRoughness.metallicFactor);
    Surface.Roughness = static_cast<float>(Material.pbrMetallicRoughness.roughnessFactor);
    Surface.bTwoSided = Material.doubleSided;
    return Surface;
}
} // namespace

FSourceGroup& FGltfPrimitiveGroups::GroupOf(const tinygltf::Primitive& Primitive)
{
    if (!bOwnExtras)
    {
        if (SlotOfGroup.Num() > ImportLimits::MaxPolygonGroupID)
        {
            FailImport("the meshes have more than %d primitives", ImportLimits::MaxPolygonGroupID + 1);
        }
        const int32 Slot = MaterialSlot(Primitive.material);
        return FindOrAddGroup(SlotOfGroup.Add(Slot), Slots[Slot].SlotName);
    }
    const nlohmann::json Extras = InterchangeExtras::Find(Primitive.extras);
    int32 GroupID = 0;
    FName SlotName;
    InterchangeExtras::Guard("primitive",
                             [&]
                             {
                                 GroupID = InterchangeExtras::ReadInt(Extras.at("group"), 0,
                                                                      ImportLimits::MaxPolygonGroupID);
                                 SlotName = ImportedText::ToName(Extras.at("slotName").get<std::string>());
                                 return 0;
                             });
    return FindOrAddGroup(GroupID, SlotName);
}

void FGltfPrimitiveGroups::AddEmptyGroups(const tinygltf::Mesh& Mesh)
{
    if (!bOwnExtras)
    {
        return;
    }
    const nlohmann::json Extras = InterchangeExtras::Find(Mesh.extras);
    if (!Extras.is_object() || !Extras.contains("emptyGroups"))
    {
        return;
    }
    InterchangeExtras::Guard(
        "mesh",
        [&]
        {
            for (const nlohmann::json& Entry : InterchangeExtras::ReadList(Extras, "emptyGroups"))
            {
                FindOrAddGroup(
                    InterchangeExtras::ReadInt(Entry.at("group"), 0, ImportLimits::MaxPolygonGroupID),
                    ImportedText::ToName(Entry.at("slotName").get<std::string>()));
            }
            return 0;
        });
}

FSourceGroup& FGltfPrimitiveGroups::FindOrAddGroup(int32 GroupID, FName SlotName)
{
    if (GroupID < 0 || GroupID > ImportLimits::MaxPolygonGroupID)
    {
        FailImport("polygon group %d is out of range", GroupID);
    }
    return Groups.FindOrAdd(GroupID, SlotName);
}

int32 FGltfPrimitiveGroups::MaterialSlot(int32 Material)
{
    if (Material >= static_cast<int32>(Model.materials.size()))
    {
        FailImport("a primitive refers to material %d, which does not exist", Material);
    }
    const int32 Slot = Slots.Find(Material);
    if (Slot != INDEX_NONE)
    {
        return Slot;
    }
    if (Material < 0)
    {
        return Slots.Add(Material, FString(), FImportedMaterial());
    }
    const tinygltf::Material& Data = Model.materials[Material];
    return Slots.Add(Material, FString(Data.name), ReadSurface(Data));
}
