#pragma once

#include "HeaderParser.h"

#include <string>

namespace HeaderTool
{
/**
 * Writes the reflection source of a header: the StaticClass of every class with its
 * properties, functions and metadata, and the StaticEnumOf of every enumeration.
 */
std::string WriteReflectionSource(const FReflectedHeader& Header, const std::string& IncludePath,
                                  const std::string& ModuleName);
} // namespace HeaderTool
