#pragma once

#include "Core/Containers/String.h"

/**
 * Helpers for long package names ("/Game/Characters/Hero": a root, then folders, then the
 * package's short name) and object paths ("/Game/Characters/Hero.Hero": a package name, a
 * dot and the object's name).
 */
class FPackageName
{
public:
    /** The folder of a package: "/Game/Characters/Hero" gives "/Game/Characters". */
    static FString GetLongPackagePath(const FString& LongPackageName);
    /** The last segment of a package name: "/Game/Characters/Hero" gives "Hero". */
    static FString GetShortName(const FString& LongPackageName);
    /**
     * True when the name starts with "/", has a root and at least one more segment, no empty
     * segment, no trailing "/", none of the characters \ : * ? " < > | ' , . and no segment
     * that starts or ends with a space. Otherwise OutReason, when given, says why.
     */
    static bool IsValidLongPackageName(const FString& LongPackageName, FString* OutReason = nullptr);
    /** The package name at the start of an object path: "/Game/Hero.Hero" gives "/Game/Hero". */
    static FString ObjectPathToPackageName(const FString& ObjectPath);
    /** The path of an asset in a package: ("/Game/Hero", "Hero") gives "/Game/Hero.Hero". */
    static FString GetObjectPath(const FString& PackageName, const FString& AssetName);
};
