#pragma once

#include "Core/Containers/String.h"

#include <string_view>

/**
 * Writes a whole file through a temporary file beside it, renamed into place once complete, so a
 * failed write leaves an earlier file as it was. False (with the reason in OutError) on failure.
 */
bool WriteFileAtomically(const FString& Path, std::string_view Bytes, FString& OutError);
