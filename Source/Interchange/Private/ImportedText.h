#pragma once

#include "Core/Containers/String.h"
#include "Core/Name/Name.h"

#include <string_view>

/**
 * Text taken from a file (names, URIs) made safe before it becomes an FName or part of a message: an
 * FName ends at a NUL, and control characters or broken UTF-8 would reach logs and terminals raw.
 */
namespace ImportedText
{
/**
 * The text with every NUL, other control character (C0, DEL and C1) and byte that is not part of
 * well-formed UTF-8 replaced by '_'. Everything else is kept as it is.
 */
FString CleanName(std::string_view Text);

/** The cleaned text as an FName ("" and "None" are NAME_None). */
FName ToName(std::string_view Text);

/** The text cleaned like a name and cut to at most MaxBytes bytes (ending in "..." when cut), for messages.
 */
FString ForMessage(std::string_view Text, size_t MaxBytes = 64);
} // namespace ImportedText
