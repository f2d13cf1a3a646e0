#include "RivetCli/Demo/DemoScenarios.h"

TArray<FDemoScenario> GetDemoScenarios()
{
    TArray<FDemoScenario> Scenarios;
    const FString AssignTool = "Assign New Material Slot";
    Scenarios.Add(
        {AssignTool,
         "paint the head into a new slot \"Face\", merge \"Shoes\" into \"Trousers\" (LOD 1 keeps its shoes, "
         "so their slot stays), remove unused slots",
         {{EEditStepKind::Select, {"bone:Head:0.5"}},
          {EEditStepKind::Set, {"Slot Name=Face"}},
          {EEditStepKind::Accept},
          {EEditStepKind::Tool, {AssignTool}},
          {EEditStepKind::Set, {"Slot To Delete=Shoes"}},
          {EEditStepKind::Set, {"Merge Into Slot=Trousers"}},
          {EEditStepKind::Press, {"Delete Slot"}},
          {EEditStepKind::Tool, {AssignTool}},
          {EEditStepKind::Press, {"Remove Unused Slots"}}},
         /*bShowSlotTables=*/true});
    Scenarios.Add({"Delete Polygons",
                   "delete the left hand",
                   {{EEditStepKind::Select, {"bone:Hand_L:0.5"}},
                    {EEditStepKind::Press, {"Delete Selected Polygons"}}}});
    const FString BakeTool = "Bake Bone Transform";
    Scenarios.Add({BakeTool,
                   "make the character 10 % taller and turn it to face the other way (root scale 1.1, yaw 180) "
                   "with every option on, bake, then fix the animations' retargeting",
                   {{EEditStepKind::Set, {"Scale=1.1"}},
                    {EEditStepKind::Set, {"Rotation=0,180,0"}},
                    {EEditStepKind::Set, {"Localize Skeleton Sockets=true"}},
                    {EEditStepKind::Press, {"Bake"}},
                    {EEditStepKind::Tool, {BakeTool}},
                    {EEditStepKind::Press, {"Fix Animations Now"}}},
                   /*bShowSlotTables=*/false,
                   /*bShowRestPose=*/true});
    const FString RemeshTool = "Remesh Polygons";
    FDemoScenario Remesh{RemeshTool,
                         "remesh the torso evenly at Density 1.0, then again at 0.5 (twice as fine); the "
                         "character's Smile keeps its position deltas only, as a remesh would lose normal deltas",
                         {{EEditStepKind::Select, {"bone:Spine:0.5", "bone:Chest:0.5"}},
                          {EEditStepKind::Set, {"Density=1.0"}},
                          {EEditStepKind::Press, {"Remesh Selected Polygons"}},
                          {EEditStepKind::Tool, {RemeshTool}},
                          {EEditStepKind::Select, {"bone:Spine:0.5", "bone:Chest:0.5"}},
                          {EEditStepKind::Set, {"Density=0.5"}},
                          {EEditStepKind::Press, {"Remesh Selected Polygons"}}}};
    Remesh.bMorphPositionsOnly = true;
    Remesh.bCheckSkinWeights = true;
    Scenarios.Add(Remesh);
    const FString DetachTool = "Detach Polygons";
    Scenarios.Add({DetachTool,
                   "detach the head as a copy (the character keeps it)",
                   {{EEditStepKind::Select, {"bone:Head:0.5"}},
                    {EEditStepKind::Set, {"Remove From Source=false"}},
                    {EEditStepKind::Press, {"Detach Selected Polygons"}}}});
    Scenarios.Add({DetachTool,
                   "detach the left arm into a part of its own",
                   {{EEditStepKind::Select, {"bone:UpperArm_L:0.5"}},
                    {EEditStepKind::Select, {"bone:LowerArm_L:0.5"}},
                    {EEditStepKind::Select, {"bone:Hand_L:0.5"}},
                    {EEditStepKind::Press, {"Detach Selected Polygons"}}}});
    return Scenarios;
}

TArray<const FDemoScenario*> FindDemoScenarios(const TArray<FDemoScenario>& Scenarios, const FString& Tool)
{
    TArray<const FDemoScenario*> Found;
    for (const FDemoScenario& Scenario : Scenarios)
    {
        if (Scenario.Tool == Tool)
        {
            Found.Add(&Scenario);
        }
    }
    return Found;
}
