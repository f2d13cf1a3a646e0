#include "RivetCli/Demo/DemoScenarios.h"

TArray<FDemoScenario> GetDemoScenarios()
{
    TArray<FDemoScenario> Scenarios;
    Scenarios.Add({"Delete Polygons",
                   "delete the left hand",
                   {{EEditStepKind::Select, {"bone:Hand_L:0.5"}},
                    {EEditStepKind::Press, {"Delete Selected Polygons"}}}});
    return Scenarios;
}

const FDemoScenario* FindDemoScenario(const TArray<FDemoScenario>& Scenarios, const FString& Tool)
{
    for (const FDemoScenario& Scenario : Scenarios)
    {
        if (Scenario.Tool == Tool)
        {
            return &Scenario;
        }
    }
    return nullptr;
}
