#pragma once

#include "Core/Containers/String.h"

#include <string_view>

/** The longest text one report line, message or log line shows before it is cut. */
inline constexpr int32 MaxTerminalTextBytes = 2000;

/**
 * Text from files and libraries made safe to print on a terminal: control characters (C0, DEL, C1),
 * bytes that are not UTF-8 and the bidirectional-override characters are shown as escapes ("\x1b",
 * "\u202e"), so a name can neither move the cursor, set the title nor start a line of its own; with
 * bKeepNewlines, line breaks stay (the caller indents what follows them). Once the shown text reaches
 * MaxBytes it is cut after that character or escape and ends "... (N more bytes)", N counted in the text
 * as given.
 */
FString MakeTerminalText(std::string_view Text, bool bKeepNewlines = false,
                         int32 MaxBytes = MaxTerminalTextBytes);
