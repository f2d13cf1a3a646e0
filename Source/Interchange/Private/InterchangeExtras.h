#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Transform.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

class USkeletalMeshSocket;
struct FSkeletalMaterial;

/**
 * The extras this module writes into glTF files and reads back. Everything lives under one key,
 * "rivet", of the extras of the glTF object it belongs to (README, "File interchange", lists the
 * layout). Reading checks the types; malformed extras throw FInterchangeFailure.
 */
namespace InterchangeExtras
{
inline constexpr const char* Key = "rivet";
/** The value of the root node's "conversion" that marks the host-space conversion node. */
inline constexpr const char* ConversionMarker = "zUpCentimetres";

tinygltf::Value ToGltf(const nlohmann::json& Json);
nlohmann::json FromGltf(const tinygltf::Value& Value);
/** The "rivet" object of an object's extras; null when there is none. */
nlohmann::json Find(const tinygltf::Value& Extras);

/** A number that is finite; anything else is malformed extras. */
double ReadDouble(const nlohmann::json& Json);
/** A finite number that fits a float. */
float ReadFloat(const nlohmann::json& Json);
/** A whole number from Min to Max. */
int32 ReadInt(const nlohmann::json& Json, int32 Min, int32 Max);
/** The array under Key of Object (empty when absent); refuses one of more than the entries extras may list.
 */
const nlohmann::json& ReadList(const nlohmann::json& Object, const char* Key);

nlohmann::json WriteVector(const FVector& V);
FVector ReadVector(const nlohmann::json& Json);
nlohmann::json WriteRotator(const FRotator& R);
FRotator ReadRotator(const nlohmann::json& Json);
nlohmann::json WriteTransform(const FTransform& T);
FTransform ReadTransform(const nlohmann::json& Json);

nlohmann::json WriteSocket(const USkeletalMeshSocket& Socket);
FImportedSocket ReadSocket(const nlohmann::json& Json);
/** A slot with the index of the file's material that its material became (FileMaterial). */
nlohmann::json WriteSlot(const FSkeletalMaterial& Slot, int32 FileMaterial);
FImportedSlot ReadSlot(const nlohmann::json& Json);
nlohmann::json WriteLODInfo(const FSkeletalLODInfo& Info);
FSkeletalLODInfo ReadLODInfo(const nlohmann::json& Json);

/** The problem a JSON library error stands for, in words for the user. */
const char* DescribeJsonError(const nlohmann::json::exception& Exception);

/** Runs Read, turning a type or key error of the JSON into FInterchangeFailure about What. */
template <typename FunctionType>
auto Guard(const char* What, FunctionType&& Read)
{
    try
    {
        return Read();
    }
    catch (const nlohmann::json::exception& Exception)
    {
        FailImport("malformed %s extras: %s", What, DescribeJsonError(Exception));
    }
}
} // namespace InterchangeExtras
