#include "Interchange/Private/InterchangeExtras.h"

#include "Engine/SkeletalMesh/SkeletalMaterial.h"
#include "Engine/SkeletalMesh/SkeletalMeshSocket.h"
#include "Interchange/Private/ImportedText.h"

#include "Interchange/Private/ImportLimits.h"

#include <cmath>
#include <limits>

using nlohmann::json;

namespace InterchangeExtras
{
tinygltf::Value ToGltf(const json& Json)
{
    switch (Json.type())
    {
        case json::value_t::boolean:
            return tinygltf::Value(Json.get<bool>());
        case json::value_t::number_integer:
        case json::value_t::number_unsigned:
            return tinygltf::Value(Json.get<int>());
        case json::value_t::number_float:
            return tinygltf::Value(Json.get<double>());
        case json::value_t::string:
            return tinygltf::Value(Json.get<std::string>());
        case json::value_t::array:
        {
            tinygltf::Value::Array Items;
            Items.reserve(Json.size());
            for (const json& Item : Json)
            {
                Items.push_back(ToGltf(Item));
            }
            return tinygltf::Value(std::move(Items));
        }
        case json::value_t::object:
        {
            tinygltf::Value::Object Members;
            for (auto It = Json.begin(); It != Json.end(); ++It)
            {
                Members.emplace(It.key(), ToGltf(It.value()));
            }
            return tinygltf::Value(std::move(Members));
        }
        default:
            return tinygltf::Value();
    }
}

json FromGltf(const tinygltf::Value& Value)
{
    if (Value.IsBool())
    {
        return Value.Get<bool>();
    }
    if (Value.IsInt())
    {
        return Value.Get<int>();
    }
    if (Value.IsNumber())
    {
        return Value.GetNumberAsDouble();
    }
    if (Value.IsString())
    {
        return Value.Get<std::string>();
    }
    if (Value.IsArray())
    {
        json Items = json::array();
        for (size_t Index = 0; Index < Value.ArrayLen(); ++Index)
        {
            Items.push_back(FromGltf(Value.Get(static_cast<int>(Index))));
        }
        return Items;
    }
    if (Value.IsObject())
    {
        json Members = json::object();
        for (const std::string& Key : Value.Keys())
        {
            Members[Key] = FromGltf(Value.Get(Key));
        }
        return Members;
    }
    return nullptr;
}

json Find(const tinygltf::Value& Extras)
{
    if (Extras.IsObject() && Extras.Has(Key))
    {
        return FromGltf(Extras.Get(Key));
    }
    return nullptr;
}

double ReadDouble(const json& Json)
{
    const double Value = Json.get<double>();
    if (!std::isfinite(Value))
    {
        FailImport("malformed extras: a number is not finite");
    }
    return Value;
}

float ReadFloat(const json& Json)
{
    const double Value = ReadDouble(Json);
    if (std::abs(Value) > static_cast<double>(std::numeric_limits<float>::max()))
    {
        FailImport("malformed extras: the number %g is out of range", Value);
    }
    return static_cast<float>(Value);
}

int32 ReadInt(const json& Json, int32 Min, int32 Max)
{
    if (!Json.is_number_integer())
    {
        FailImport("malformed extras: %s is not a whole number", *ImportedText::ForMessage(Json.dump()));
    }
    const int64 Value =
        Json.is_number_unsigned() && Json.get<uint64>() > uint64(INT64_MAX) ? INT64_MAX : Json.get<int64>();
    if (Value < Min || Value > Max)
    {
        FailImport("malformed extras: the number %s is out of range (%d to %d)",
                   *ImportedText::ForMessage(Json.dump()), Min, Max);
    }
    return static_cast<int32>(Value);
}

const json& ReadList(const json& Object, const char* Key)
{
    static const json Empty = json::array();
    if (!Object.is_object() || !Object.contains(Key))
    {
        return Empty;
    }
    const json& List = Object.at(Key);
    if (!List.is_array())
    {
        FailImport("malformed extras: '%s' is not a list", Key);
    }
    if (static_cast<int64>(List.size()) > ImportLimits::MaxExtrasEntries)
    {
        FailImport("malformed extras: '%s' lists more than %lld entries", Key,
                   static_cast<long long>(ImportLimits::MaxExtrasEntries));
    }
    return List;
}

const char* DescribeJsonError(const json::exception& Exception)
{
    // The library's ids: 3xx are type errors, 401 an index past the end, 403 a missing key.
    if (Exception.id == 403)
    {
        return "a required entry is missing";
    }
    if (Exception.id == 401)
    {
        return "a list is too short";
    }
    if (Exception.id >= 300 && Exception.id < 400)
    {
        return "a value has the wrong type";
    }
    return "a value is out of range";
}

json WriteVector(const FVector& V)
{
    return json::array({V.X, V.Y, V.Z});
}

FVector ReadVector(const json& Json)
{
    if (!Json.is_array() || Json.size() != 3)
    {
        FailImport("malformed extras: a vector needs three numbers");
    }
    return FVector(ReadDouble(Json[0]), ReadDouble(Json[1]), ReadDouble(Json[2]));
}

json WriteRotator(const FRotator& R)
{
    return json::array({R.Pitch, R.Yaw, R.Roll});
}

FRotator ReadRotator(const json& Json)
{
    const FVector Angles = ReadVector(Json);
    return FRotator(Angles.X, Angles.Y, Angles.Z);
}

json WriteTransform(const FTransform& T)
{
    const FQuat& Q = T.GetRotation();
    return json{{"rotation", json::array({Q.X, Q.Y, Q.Z, Q.W})},
                {"translation", WriteVector(T.GetTranslation())},
                {"scale", WriteVector(T.GetScale3D())}};
}

FTransform ReadTransform(const json& Json)
{
    const json& Q = Json.at("rotation");
    if (!Q.is_array() || Q.size() != 4)
    {
        FailImport("malformed extras: a rotation needs four numbers");
    }
    return FTransform(FQuat(ReadDouble(Q[0]), ReadDouble(Q[1]), ReadDouble(Q[2]), ReadDouble(Q[3])),
                      ReadVector(Json.at("translation")), ReadVector(Json.at("scale")));
}

json WriteSocket(const USkeletalMeshSocket& Socket)
{
    return json{{"name", *Socket.SocketName.ToString()},
                {"bone", *Socket.BoneName.ToString()},
                {"location", WriteVector(Socket.RelativeLocation)},
                {"rotation", WriteRotator(Socket.RelativeRotation)},
                {"scale", WriteVector(Socket.RelativeScale)},
                {"forceAlwaysAnimated", Socket.bForceAlwaysAnimated}};
}

FImportedSocket ReadSocket(const json& Json)
{
    FImportedSocket Socket;
    Socket.SocketName = ImportedText::ToName(Json.at("name").get<std::string>());
    Socket.BoneName = ImportedText::ToName(Json.at("bone").get<std::string>());
    Socket.Location = ReadVector(Json.at("location"));
    Socket.Rotation = ReadRotator(Json.at("rotation"));
    Socket.Scale = ReadVector(Json.at("scale"));
    Socket.bForceAlwaysAnimated = Json.value("forceAlwaysAnimated", true);
    return Socket;
}

json WriteSlot(const FSkeletalMaterial& Slot, int32 FileMaterial)
{
    json Result{{"name", *Slot.MaterialSlotName.ToString()},
                {"importedName", *Slot.ImportedMaterialSlotName.ToString()},
                {"castShadow", Slot.bCastShadow},
                {"recomputeTangents", Slot.bRecomputeTangents}};
    if (Slot.UVChannelData.bInitialized)
    {
        const float* D = Slot.UVChannelData.LocalUVDensities;
        Result["uvDensities"] = json::array({D[0], D[1], D[2], D[3]});
    }
    if (const UMaterial* Material = Slot.Material.Get())
    {
        const FVector4f& C = Material->BaseColor;
        Result["material"] =
            json{{"name", *Material->GetName()},    {"baseColor", json::array({C.X, C.Y, C.Z, C.W})},
                 {"metallic", Material->Metallic},  {"roughness", Material->Roughness},
                 {"twoSided", Material->bTwoSided}, {"index", FileMaterial}};
    }
    return Result;
}

namespace
{
FName ReadName(const json& Json)
{
    const std::string Text = Json.get<std::string>();
    return ImportedText::ToName(Text);
}
} // namespace

FImportedSlot ReadSlot(const json& Json)
{
    FImportedSlot Slot;
    Slot.SlotName = ReadName(Json.at("name"));
    Slot.ImportedSlotName = ReadName(Json.at("importedName"));
    Slot.bCastShadow = Json.value("castShadow", true);
    Slot.bRecomputeTangents = Json.value("recomputeTangents", false);
    if (Json.contains("uvDensities"))
    {
        Slot.bHasUVDensities = true;
        for (int32 Index = 0; Index < 4; ++Index)
        {
            Slot.UVDensities[Index] = ReadFloat(Json.at("uvDensities").at(Index));
        }
    }
    if (Json.contains("material"))
    {
        const json& Material = Json.at("material");
        const json& Color = Material.at("baseColor");
        Slot.bHasMaterial = true;
        Slot.Material.Name = Material.at("name").get<std::string>();
        Slot.Material.BaseColor = FVector4f(ReadFloat(Color.at(0)), ReadFloat(Color.at(1)),
                                            ReadFloat(Color.at(2)), ReadFloat(Color.at(3)));
        Slot.Material.Metallic = ReadFloat(Material.at("metallic"));
        Slot.Material.Roughness = ReadFloat(Material.at("roughness"));
        Slot.Material.bTwoSided = Material.at("twoSided").get<bool>();
        if (Material.contains("index"))
        {
            Slot.FileMaterial = ReadInt(Material.at("index"), 0, INT32_MAX);
        }
    }
    return Slot;
}

json WriteLODInfo(const FSkeletalLODInfo& Info)
{
    json Map = json::array();
    for (const int32 Entry : Info.LODMaterialMap)
    {
        Map.push_back(Entry);
    }
    return json{{"materialMap", Map},
                {"screenSize", Info.ScreenSize},
                {"hysteresis", Info.LODHysteresis},
                {"simplified", Info.bHasBeenSimplified}};
}

FSkeletalLODInfo ReadLODInfo(const json& Json)
{
    FSkeletalLODInfo Info;
    for (const json& Entry : ReadList(Json, "materialMap"))
    {
        Info.LODMaterialMap.Add(ReadInt(Entry, INDEX_NONE, INT32_MAX));
    }
    Info.ScreenSize = ReadFloat(Json.at("screenSize"));
    Info.LODHysteresis = ReadFloat(Json.at("hysteresis"));
    Info.bHasBeenSimplified = Json.at("simplified").get<bool>();
    return Info;
}
} // namespace InterchangeExtras
