#pragma once

#include <nlohmann/json.hpp>

class FRivetConsole;
class USkeletalMesh;

/**
 * The LOD 0 triangles as the selection tools' preview numbers them (the IDs that tris: and island:
 * take): for each material slot, and for each island (triangles connected through shared edges), as
 * ID ranges ("0-15,32-47").
 */
nlohmann::json DescribeTriangleLists(const USkeletalMesh& Mesh);

/** Prints the lists; past MaxIslands islands, only their count. */
void PrintTriangleLists(FRivetConsole& Console, const nlohmann::json& Lists);
