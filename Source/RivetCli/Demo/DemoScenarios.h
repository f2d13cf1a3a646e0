#pragma once

#include "Core/Containers/Array.h"
#include "RivetCli/Render/MeshPicture.h"
#include "RivetCli/Session/EditStep.h"

/** What the demo does with one tool: the steps after the character is opened and the tool started. */
struct FDemoScenario
{
    FString Tool;
    /** What the steps show, for the report ("delete the left hand"). */
    FString Purpose;
    TArray<FEditStep> Steps;
    /** Show the material slots of the character before and of the result after. */
    bool bShowSlotTables = false;
    /** Show the height and the reference scales of the character before and of the result after. */
    bool bShowRestPose = false;
    /** How the before and after pictures are drawn (view, coloring, wireframe). */
    FPictureOptions Picture;
    /** Run on a copy of the character whose morph targets keep their position deltas only. */
    bool bMorphPositionsOnly = false;
    /** Check that the skin weights of the result's vertices sum to one, those new to it included. */
    bool bCheckSkinWeights = false;
};

/** The scenarios of each tool of the module that the demo knows (one or more a tool). */
TArray<FDemoScenario> GetDemoScenarios();

/** The scenarios for a tool's display name, in their order; empty when there is none. */
TArray<const FDemoScenario*> FindDemoScenarios(const TArray<FDemoScenario>& Scenarios, const FString& Tool);
