#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

struct FExtensionToolDescription;
struct FModelingModeToolSection;

/**
 * The tool of the modeling mode that a user means by Name: its display name or its command name,
 * without regard to case, spaces, hyphens or underscores ("delete-polygons", "DeletePolygons" and
 * "BeginDeletePolygonsTool" all name "Delete Polygons"). Null when no tool has that name.
 */
const FExtensionToolDescription* FindToolByName(const TArray<FModelingModeToolSection>& Sections,
                                                const FString& Name);

/** The display names of every tool, joined with ", ". */
FString ListToolNames(const TArray<FModelingModeToolSection>& Sections);
