#pragma once

#include "Core/Containers/Array.h"
#include "Engine/SkeletalMesh/ImportedModel.h"

/**
 * Keeps a LOD's material map with the polygon groups it redirects when the LOD's sections are rebuilt.
 * A map entry belongs to a section, and a section to the polygon group it was built from; when a group
 * gains or loses its section, every later section moves, and entries read by position would then
 * redirect the wrong group. Here each new section takes the entry its group's old section had (or
 * INDEX_NONE when the group had no section or no entry), and entries of groups that lost their section
 * go. Trailing entries that no group carried over are trimmed, so a map whose entries all went ends
 * empty.
 *
 * The map stays as it is when the sections were built from the same groups as before, and when there
 * were no old sections (a LOD's first build: the map was set for the sections to come).
 */
void CarryLODMaterialMapToSections(TArray<int32>& LODMaterialMap, const TArray<FImportedSection>& OldSections,
                                   const TArray<FImportedSection>& NewSections);
