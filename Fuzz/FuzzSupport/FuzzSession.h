#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <cstddef>
#include <cstdint>

/** The input's lines, at most MaxLines of them (the rest is ignored, so one input's work stays small). */
TArray<FString> SplitFuzzLines(const uint8_t* Data, size_t Size, int32 MaxLines);
