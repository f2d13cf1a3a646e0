#include "CoreUObject/Misc/PackageName.h"

#include <gtest/gtest.h>

TEST(PackageName, SplitsPackageNamesAndObjectPaths)
{
    EXPECT_EQ(FPackageName::GetLongPackagePath("/Game/Characters/Hero"), "/Game/Characters");
    EXPECT_EQ(FPackageName::GetLongPackagePath("/Game/Hero"), "/Game");
    EXPECT_EQ(FPackageName::GetLongPackagePath("Hero"), "");
    EXPECT_EQ(FPackageName::GetShortName("/Game/Characters/Hero"), "Hero");
    EXPECT_EQ(FPackageName::GetShortName("Hero"), "Hero");
    EXPECT_EQ(FPackageName::ObjectPathToPackageName("/Game/Hero.Hero"), "/Game/Hero");
    EXPECT_EQ(FPackageName::ObjectPathToPackageName("/Game/Hero.Hero.Arm"), "/Game/Hero");
    EXPECT_EQ(FPackageName::ObjectPathToPackageName("/Game/Hero"), "/Game/Hero");
    EXPECT_EQ(FPackageName::GetObjectPath("/Game/Hero", "Hero"), "/Game/Hero.Hero");
}

TEST(PackageName, AcceptsRootedNamesWithAtLeastTwoSegments)
{
    for (const char* Name :
         {"/Game/Hero", "/Game/Characters/Hero_Part_1", "/Game/My Hero", "/Engine/Transient"})
    {
        FString Reason = "left over";
        EXPECT_TRUE(FPackageName::IsValidLongPackageName(Name, &Reason)) << Name << ": " << Reason;
        EXPECT_EQ(Reason, "") << Name;
    }
    EXPECT_TRUE(FPackageName::IsValidLongPackageName("/Game/Hero"));
}

TEST(PackageName, RefusesMalformedNamesAndSaysWhy)
{
    struct FCase
    {
        const char* Name;
        const char* Reason;
    };
    const FCase Cases[] = {
        {"", "does not start with '/'"},
        {"Game/Hero", "does not start with '/'"},
        {"/Game", "needs a root and a name below it"},
        {"/", "ends with '/'"},
        {"/Game/Hero/", "ends with '/'"},
        {"//Hero", "empty segment"},
        {"/Game//Hero", "empty segment"},
        {"/Game/ Hero", "starts or ends with a space"},
        {"/Game/Hero /Arm", "starts or ends with a space"},
        {"/Game/Hero.Hero", "invalid character '.'"},
        {"/Game/A\\B", "invalid character '\\'"},
        {"/Game/A:B", "invalid character ':'"},
        {"/Game/A*B", "invalid character '*'"},
        {"/Game/A?B", "invalid character '?'"},
        {"/Game/A\"B", "invalid character '\"'"},
        {"/Game/A<B", "invalid character '<'"},
        {"/Game/A>B", "invalid character '>'"},
        {"/Game/A|B", "invalid character '|'"},
        {"/Game/A'B", "invalid character '''"},
        {"/Game/A,B", "invalid character ','"},
    };
    for (const FCase& Case : Cases)
    {
        FString Reason;
        EXPECT_FALSE(FPackageName::IsValidLongPackageName(Case.Name, &Reason)) << Case.Name;
        EXPECT_TRUE(Reason.Contains(Case.Reason)) << Case.Name << ": " << Reason;
        EXPECT_TRUE(Reason.StartsWith(FString::Printf("'%s' is not a valid package name", Case.Name).View()))
            << Reason;
    }
}
