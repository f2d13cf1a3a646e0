#pragma once

#include "Core/Containers/Array.h"
#include "RivetCli/Demo/DemoScenarios.h"

/**
 * Gives the scenarios of the tools whose results a plain picture hides their own way of drawing:
 * Remesh Polygons with its wireframe, so that the new triangles show; Bake Bone Transform with the
 * weights of the root bone it scales. Other scenarios keep theirs.
 */
void ChooseDemoPictures(TArray<FDemoScenario>& Scenarios);
