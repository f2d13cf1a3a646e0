#pragma once

#include "Core/CoreTypes.h"

#include <string_view>

/**
 * Refuses (FInterchangeFailure) a JSON text whose arrays and objects nest deeper than MaxDepth, by one
 * pass over its characters. Parsers and converters of JSON recurse once per level, so a deep document
 * must be refused before any of them sees it.
 */
void CheckJsonNesting(std::string_view Text, int32 MaxDepth);
