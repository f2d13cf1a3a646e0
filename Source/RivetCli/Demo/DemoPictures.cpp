#include "RivetCli/Demo/DemoPictures.h"

void ChooseDemoPictures(TArray<FDemoScenario>& Scenarios)
{
    for (FDemoScenario& Scenario : Scenarios)
    {
        if (Scenario.Tool == "Remesh Polygons")
        {
            Scenario.Picture.bWireframe = true;
        }
        else if (Scenario.Tool == "Bake Bone Transform")
        {
            Scenario.Picture.ColorBy = {ERenderColoring::Weights, "Root"};
        }
    }
}
