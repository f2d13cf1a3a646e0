#pragma once

#include "Tokenizer.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace HeaderTool
{
/** Specifiers and metadata of a marker; metadata values are C++ string literals. */
struct FMarkerArguments
{
    std::vector<std::string> Specifiers;
    std::vector<std::pair<std::string, std::string>> MetaData;

    bool HasSpecifier(const char* Name) const;
};

struct FReflectedProperty
{
    std::string Name;
    FMarkerArguments Arguments;
};

struct FReflectedFunction
{
    std::string Name;
    FMarkerArguments Arguments;
};

struct FReflectedClass
{
    std::string Name;
    std::string SuperName;
    FMarkerArguments Arguments;
    bool bHasBody = false;
    std::vector<FReflectedProperty> Properties;
    std::vector<FReflectedFunction> Functions;
};

struct FReflectedEnumEntry
{
    std::string Name;
    FMarkerArguments Arguments;
};

struct FReflectedEnum
{
    std::string Name;
    FMarkerArguments Arguments;
    std::vector<FReflectedEnumEntry> Entries;
};

struct FReflectedHeader
{
    std::vector<FReflectedClass> Classes;
    std::vector<FReflectedEnum> Enums;
};

/** Reads the reflection markers of a header. Throws FParseError on a malformed marker. */
FReflectedHeader ParseHeader(const std::vector<FToken>& Tokens);
} // namespace HeaderTool
