#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

class FHeadlessEditor;

/**
 * The option strings that the details panel offers for a property of the active tool's panels: what the
 * function named by its GetOptions metadata returns. False when the property has no options (any text
 * goes, as typed).
 */
bool GetPropertyOptions(const FHeadlessEditor& Editor, const FString& Name, TArray<FString>& OutOptions);

/**
 * The option a value stands for, as a user names it on the command line: the option string itself, the
 * key before its first ':' ("2" for "2: Trousers  (120 polys)") or the name after it, up to two blanks
 * and a parenthesis ("Trousers"); case does not matter for names. Empty when no option, or more than one
 * option by name, matches.
 */
FString ResolvePropertyOption(const TArray<FString>& Options, const FString& Value);
