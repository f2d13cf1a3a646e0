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
