#include "CoreUObject/Misc/PackageName.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

TEST(PackageName, SplitsPackageNamesAndObjectPaths)
{
    EXPECT_EQ(FPackageName::GetLongPackagePath("/Game/Hero"), "/Game");
    EXPECT_EQ(FPackageName::GetLongPackagePath("Hero"), "");
    EXPECT_EQ(FPackageName::GetShortName("Hero"), "Hero");
    EXPECT_EQ(FPackageName::ObjectPathToPackageName("/Game/Hero.Hero.Arm"), "/Game/Hero");
    EXPECT_EQ(FPackageName::ObjectPathToPackageName("/Game/Hero"), "/Game/Hero");
}

TEST(PackageName, AcceptsRootedNamesWithAtLeastTwoSegmentsAndSaysWhyOthersAreRefused)
{
    for (const char* Name :
         {"/Game/Hero", "/Game/Characters/Hero_Part_1", "/Game/My Hero", "/Engine/Transient"})
    {
        FString Reason = "left over";
        EXPECT_TRUE(FPackageName::IsValidLongPackageName(Name, &Reason)) << Name << ": " << Reason;
        EXPECT_EQ(Reason, "") << Name;
    }
    EXPECT_TRUE(FPackageName::IsValidLongPackageName("/Game/Hero")) << "the reason is optional";
    const auto ExpectRefused = [](const FString& Name, const FString& Why)
    {
        FString Reason;
        EXPECT_FALSE(FPackageName::IsValidLongPackageName(Name, &Reason)) << *Name;
        EXPECT_TRUE(Reason.Contains(Why.View())) << *Name << ": " << *Reason;
        EXPECT_TRUE(Reason.StartsWith(FString::Printf("'%s' is not a valid package name", *Name).View()))
            << *Reason;
    };
    const std::pair<const char*, const char*> Cases[] = {
        {"", "does not start with '/'"},
        {"Game/Hero", "does not start with '/'"},
        {"/Game", "needs a root and a name below it"},
        {"/", "ends with '/'"},
        {"/Game/Hero/", "ends with '/'"},
        {"//Hero", "empty segment"},
        {"/Game//Hero", "empty segment"},
        {"/Game/ Hero", "starts or ends with a space"},
        {"/Game/Hero /Arm", "starts or ends with a space"},
    };
    for (const auto& [Name, Why] : Cases)
    {
        ExpectRefused(Name, Why);
    }
    for (const char Invalid : std::string_view(".\\:*?\"<>|',"))
    {
        ExpectRefused(FString::Printf("/Game/A%cB", Invalid),
                      FString::Printf("invalid character '%c'", Invalid));
    }
}
