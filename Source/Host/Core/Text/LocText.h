#pragma once

#include "Core/Text/Text.h"

/**
 * Texts for the user. A source file that shows texts names its namespace once,
 *
 *     #define VT_LOCTEXT_NAMESPACE "RivetDeletePolygonsTool"
 *
 * then writes VT_LOCTEXT("DeleteDone", "Deleted {0} polygon(s).") and ends with
 * #undef VT_LOCTEXT_NAMESPACE. VT_NSLOCTEXT names the namespace at the call instead.
 * Key and source text are UTF-8 string literals.
 */
#define VT_NSLOCTEXT(Namespace, Key, SourceText) ::FText::MakeLocalized(Namespace, Key, SourceText)
#define VT_LOCTEXT(Key, SourceText) VT_NSLOCTEXT(VT_LOCTEXT_NAMESPACE, Key, SourceText)
