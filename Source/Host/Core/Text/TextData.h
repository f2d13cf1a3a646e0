#pragma once

#include "Core/Text/Text.h"

/** What a text holds. Private to the text implementation files. */
struct FText::FData
{
    FString DisplayString;
    FString SourceString;
    FString Namespace;
    FString Key;
    TArray<FFormatArgumentValue> FormatArguments;
};
