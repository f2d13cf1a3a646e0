#pragma once

#include "Core/CoreTypes.h"

#include <map>
#include <string>

/** A glTF primitive's (or morph target's) attributes: the accessor of each attribute name. */
using FGltfAttributes = std::map<std::string, int>;

/** The accessor of the attribute Name, or INDEX_NONE when there is none. */
int32 FindGltfAttribute(const FGltfAttributes& Attributes, const std::string& Name);

/** Refuses an attribute Name whose element count (Actual) differs from POSITION's (Expected). */
void CheckGltfAttributeCount(const char* Name, int32 Actual, int32 Expected);
