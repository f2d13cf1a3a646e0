#pragma once

#include "Core/Containers/String.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/SourceMesh.h"

/**
 * Builds a LOD's mesh description from file geometry: file vertices at the same place with the
 * same skinning and morph offsets (or, when the file names them, with the same vertex ID) become
 * one vertex; every file vertex that a triangle uses becomes one vertex instance; each group
 * becomes a polygon group with its slot name. Triangles whose corners weld onto fewer than three
 * vertices are dropped with a warning. Throws FInterchangeFailure when no triangle is left.
 */
void BuildLODDescription(const FSourceMesh& Source, FImportedLOD& OutLOD, TArray<FString>& OutWarnings);
