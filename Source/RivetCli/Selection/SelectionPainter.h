#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Selection/SelectionTerm.h"

class FHeadlessEditor;

/**
 * Applies the terms in order to the selection of the editor's active selection tool, as triangle IDs
 * of its preview mesh. Regions are added to the selection (in ascending ID order, repeats skipped) or
 * removed from it; all, -all and the modifiers press the tool's own actions and run a frame, so they
 * act exactly as its buttons do.
 *
 * Every term is checked first: a selection tool must be active with no action waiting, slots and bones
 * must exist on the tool's asset, and listed triangles must be live preview triangles. On any error
 * nothing changes and OutError says why.
 */
bool PaintSelection(FHeadlessEditor& Editor, const TArray<FSelectionTerm>& Terms, FString& OutError);
