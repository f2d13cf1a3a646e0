#include "Interchange/Private/SourceFileMetadata.h"

#include "Engine/Animation/AnimSequence.h"
#include "Engine/Assets/AssetSourceFile.h"

#include <cmath>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace
{
constexpr const char* FrameKey = "interchange.fileFrame";
constexpr const char* GltfLayoutKey = "interchange.gltfLayout";

json WriteFrame(const FAxisConversion& Frame)
{
    return {{"axis", Frame.Axis}, {"sign", Frame.Sign}, {"scale", Frame.Scale}};
}

json WriteAnimation(const FImportedGltfLayout::FAnimation& Animation)
{
    json Channels = json::array();
    for (const FImportedGltfLayout::FChannel& Channel : Animation.Channels)
    {
        Channels.push_back(json::array({*Channel.Bone.ToString(), *Channel.Path}));
    }
    return {{"name", *Animation.Name}, {"channels", std::move(Channels)}};
}

json WriteGltfLayout(const FImportedGltfLayout& Layout, const TArray<UAnimSequence*>& Animations)
{
    json Meshes = json::array();
    for (const FString& Name : Layout.MeshNames)
    {
        Meshes.push_back(*Name);
    }
    json ByAsset = json::object();
    for (int32 Index = 0; Index < Animations.Num() && Index < Layout.Animations.Num(); ++Index)
    {
        ByAsset[*Animations[Index]->GetName()] = WriteAnimation(Layout.Animations[Index]);
    }
    return {{"meshes", std::move(Meshes)},
            {"meshNode", *Layout.MeshNodeName},
            {"skin", *Layout.SkinName},
            {"animations", std::move(ByAsset)}};
}

/** The note under Key as JSON; null when there is none or it does not parse. */
json ReadNote(const UAssetSourceFile* Source, const char* Key)
{
    const FString* Note = Source ? Source->Metadata.Find(Key) : nullptr;
    return Note ? json::parse(Note->ToStdString(), nullptr, false) : json();
}

bool IsSignedPermutation(const FInterchangeFileFrame& Frame)
{
    bool bSeen[3] = {false, false, false};
    for (int32 Index = 0; Index < 3; ++Index)
    {
        if (Frame.Axis[Index] < 0 || Frame.Axis[Index] > 2 || bSeen[Frame.Axis[Index]] ||
            std::abs(Frame.Sign[Index]) != 1.0)
        {
            return false;
        }
        bSeen[Frame.Axis[Index]] = true;
    }
    return true;
}

FImportedGltfLayout::FAnimation ReadAnimation(const json& Entry)
{
    FImportedGltfLayout::FAnimation Animation;
    Animation.Name = Entry.at("name").get<std::string>();
    for (const json& Channel : Entry.at("channels"))
    {
        Animation.Channels.Add(
            {FName(Channel.at(0).get<std::string>()), FString(Channel.at(1).get<std::string>())});
    }
    return Animation;
}
} // namespace

namespace SourceFileMetadata
{
void Record(UAssetSourceFile& Source, const FImportedScene& Scene, const TArray<UAnimSequence*>& Animations)
{
    Source.Metadata.Add(FrameKey, FString(WriteFrame(Scene.FileFrame).dump()));
    if (!Scene.GltfLayout.MeshNames.IsEmpty())
    {
        Source.Metadata.Add(GltfLayoutKey, FString(WriteGltfLayout(Scene.GltfLayout, Animations).dump()));
    }
}

FInterchangeFileFrame ReadFrame(const UAssetSourceFile* Source)
{
    const json Note = ReadNote(Source, FrameKey);
    FInterchangeFileFrame Frame;
    try
    {
        for (int32 Index = 0; Index < 3; ++Index)
        {
            Frame.Axis[Index] = Note.at("axis").at(Index).get<int32>();
            Frame.Sign[Index] = Note.at("sign").at(Index).get<double>();
        }
        Frame.Scale = Note.at("scale").get<double>();
        Frame.bKnown = IsSignedPermutation(Frame) && Frame.Scale > 0.0 && std::isfinite(Frame.Scale);
    }
    catch (const json::exception&)
    {
        return FInterchangeFileFrame();
    }
    return Frame.bKnown ? Frame : FInterchangeFileFrame();
}

FGltfLayoutRecord ReadGltfLayout(const UAssetSourceFile* Source)
{
    const json Note = ReadNote(Source, GltfLayoutKey);
    FGltfLayoutRecord Record;
    try
    {
        for (const json& Name : Note.at("meshes"))
        {
            Record.MeshNames.Add(FString(Name.get<std::string>()));
        }
        Record.MeshNodeName = Note.at("meshNode").get<std::string>();
        Record.SkinName = Note.at("skin").get<std::string>();
        for (const auto& [Asset, Entry] : Note.at("animations").items())
        {
            Record.Animations.Add(FString(Asset), ReadAnimation(Entry));
        }
        Record.bRecorded = true;
    }
    catch (const json::exception&)
    {
        return FGltfLayoutRecord();
    }
    return Record;
}
} // namespace SourceFileMetadata
