#pragma once

#include "Interchange/Private/ImportedScene.h"

/**
 * Refuses (FInterchangeFailure) a scene whose parts do not fit together, whatever format it came from:
 * more LODs than are read, a LOD material map naming slots that do not exist, physics bodies and
 * constraints on bones the skeleton does not have.
 */
void CheckImportedScene(const FImportedScene& Scene);
