#include "Host/CoreUObject/TestObjects.h"

#include "CoreUObject/Reflection/PropertyAccess.h"

#include <gtest/gtest.h>

using namespace VT::Reflection;

namespace
{
TArray<FString> PropertyNames(const UClass* Class)
{
    TArray<FString> Names;
    for (const FProperty* Property : Class->GetProperties())
    {
        Names.Add(Property->GetName());
    }
    return Names;
}

bool SetByText(UObject* Object, const char* Name, const char* Text, FString* OutError = nullptr)
{
    const FProperty* Property = FindPropertyByAnyName(Object->GetClass(), Name);
    EXPECT_NE(Property, nullptr) << Name;
    FString Error;
    const bool bSet = Property && SetPropertyValueFromText(Object, *Property, Text, Error);
    if (OutError)
    {
        *OutError = Error;
    }
    return bSet;
}
} // namespace

TEST(Reflection, PropertiesAndFunctionsInDeclarationOrderWithSupersFirst)
{
    const TArray<FString> Expected{"Amount", "Count",      "bEnabled", "Label", "Tag",
                                   "Mode",   "SecondOnly", "Gated",    "Scale", "Rotation",
                                   "Other",  "Children",   "Options",  "Extra", "Huge"};
    EXPECT_EQ(PropertyNames(UTestChild::StaticClass()), Expected);

    const TArray<const FFunction*> Functions = UTestChild::StaticClass()->GetFunctions();
    ASSERT_EQ(Functions.Num(), 2);
    EXPECT_EQ(Functions[0]->GetName(), "Press");
    EXPECT_EQ(Functions[1]->GetName(), "GetOptionNames");
}

TEST(Reflection, MetadataIsReadAsWritten)
{
    // The metadata that panels and buttons read is checked on the tools themselves.
    const UClass* Class = UTestObject::StaticClass();
    EXPECT_EQ(Class->GetMetaDataText("ToolTip"), "An object for the reflection tests.");
    const FProperty* Amount = Class->FindPropertyByName("Amount");
    const FProperty* Count = Class->FindPropertyByName("count");
    ASSERT_TRUE(Amount && Count);
    EXPECT_EQ(Amount->GetMetaData("ToolTip"), "How much.\nSecond line.") << "adjacent literals are joined";
    EXPECT_EQ(Count->GetMetaData("ClampMin"), "1");
    EXPECT_EQ(Count->GetDisplayName(), "Number Of Things") << "nested meta = (...) is flattened";
    EXPECT_EQ(Class->FindPropertyByName("bEnabled")->GetDisplayName(), "Enabled");
    EXPECT_EQ(Amount->GetTypeName(), "double");
    EXPECT_TRUE(Class->FindPropertyByName("Options")->HasMetaData("TransientToolProperty"));
    EXPECT_FALSE(Class->FindPropertyByName("Options")->IsEditable());
    EXPECT_TRUE(Class->FindPropertyByName("Options")->IsVisible());
    EXPECT_FALSE(Class->FindPropertyByName("Children")->IsVisible());
}

TEST(Reflection, EnumsListTheirEntries)
{
    const UEnum* Enum = StaticEnum<ETestMode>();
    ASSERT_EQ(Enum->NumEntries(), 4);
    EXPECT_EQ(Enum->GetNameStringByValue(1), "Second");
    EXPECT_EQ(Enum->GetDisplayNameByValue(0), "First Mode");
    EXPECT_EQ(Enum->GetDisplayNameByValue(7), "Third One");
    EXPECT_EQ(Enum->FindValue("ETestMode::ThirdOne"), 7);
    EXPECT_EQ(Enum->FindValue("first mode"), 0);
    EXPECT_EQ(Enum->FindValue("-1"), -1) << "a value of -1 is an ordinary value";
    EXPECT_EQ(Enum->FindValue("Invalid"), -1);
    EXPECT_EQ(Enum->FindValue("Fourth"), std::nullopt);
    EXPECT_EQ(Enum->FindValue("3"), std::nullopt) << "a number that no entry has";
    EXPECT_EQ(Enum->GetMetaData().Get("ToolTip"), "How a test object works.");
}

TEST(Reflection, TextIsParsedAndClampedAsEachTypeReadsItAndTheOwnerHearsOfEachChange)
{
    UTestChild* Object = NewObject<UTestChild>();
    struct FCase
    {
        const char* Property;
        const char* Text;
        const char* Exported;
    };
    const FCase Cases[] = {
        {"Amount", "42.5", "10.0"}, // ClampMax
        {"Amount", "-3", "0.0"},    // ClampMin
        {"Amount", "7.25", "7.25"}, // UIMax is a slider limit only
        {"Number Of Things", "0", "1"},
        {"enabled", "true", "true"},
        {"Label", "Left Arm", "Left Arm"},
        {"Tag", "Spine_01", "Spine_01"},
        {"Mode", "ETestMode::Second", "Second"},
        {"Mode", "First Mode", "First"},
        {"Extra", "9223372036854775807", "9223372036854775807"},
        {"Extra", "9007199254740993", "9007199254740993"}, // no detour through double
        {"Extra", "-9223372036854775808", "-9223372036854775807"},
        {"Huge", "18446744073709551615", "18446744073709551615"},
        {"Huge", "0", "1"}, // a fractional ClampMin rounds up for whole numbers
        {"Scale", "Z=3 X=1.5 Y=2", "X=1.5 Y=2.0 Z=3.0"},
        {"Scale", "(4, 5, 6)", "X=4.0 Y=5.0 Z=6.0"},
        {"Scale", "2", "X=2.0 Y=2.0 Z=2.0"},
        {"Rotation", "Y=90 P=10 R=-5", "P=10.0 Y=90.0 R=-5.0"},
    };
    for (const FCase& Case : Cases)
    {
        SCOPED_TRACE(testing::Message() << Case.Property << " = " << Case.Text);
        EXPECT_TRUE(SetByText(Object, Case.Property, Case.Text));
        EXPECT_EQ(FindPropertyByAnyName(Object->GetClass(), Case.Property)->ExportText(Object),
                  Case.Exported);
    }
    EXPECT_EQ(Object->PreEditCount, static_cast<int32>(std::size(Cases)));
    EXPECT_EQ(Object->LastChanged, FName("Rotation"));
    EXPECT_EQ(Object->Tag, FName("spine_01")) << "names compare without regard to case";

    Object->Gated = 0.1f;
    EXPECT_EQ(Object->GetClass()->FindPropertyByName("Gated")->ExportText(Object), "0.1")
        << "floats print at their own precision";
}

TEST(Reflection, BadTextChangesNothingAndSaysWhy)
{
    UTestChild* Object = NewObject<UTestChild>();
    FString Error;
    EXPECT_FALSE(SetByText(Object, "Count", "three", &Error));
    EXPECT_EQ(Error, "'three' is not a whole number of type int32");
    EXPECT_FALSE(SetByText(Object, "Count", "99999999999", &Error));
    EXPECT_FALSE(SetByText(Object, "Amount", "1.5x", &Error));
    EXPECT_FALSE(SetByText(Object, "Amount", "nan", &Error));
    EXPECT_FALSE(SetByText(Object, "bEnabled", "maybe", &Error));
    EXPECT_FALSE(SetByText(Object, "Mode", "Fourth", &Error));
    EXPECT_EQ(Error, "'Fourth' is not a value of ETestMode");
    EXPECT_FALSE(SetByText(Object, "Other", "/Game/Nowhere.Nothing", &Error));
    EXPECT_FALSE(SetByText(Object, "Huge", "-1", &Error));
    EXPECT_FALSE(SetByText(Object, "Scale", "X=1 X=2 Z=3", &Error));
    EXPECT_FALSE(SetByText(Object, "Scale", "1, 2", &Error));
    EXPECT_FALSE(SetByText(Object, "Rotation", "X=1 Y=2 Z=3", &Error));
    EXPECT_EQ(Error, "'X=1 Y=2 Z=3' is not a rotator (P=0 Y=90 R=0)");
    EXPECT_EQ(Object->Count, 3);
    EXPECT_EQ(Object->Amount, 1.0);
    EXPECT_EQ(Object->Huge, 0u);
    EXPECT_EQ(Object->Scale, FVector(1.0, 1.0, 1.0));
    EXPECT_EQ(Object->PreEditCount, 0) << "the owner hears nothing about a rejected value";
    EXPECT_TRUE(Object->LastChanged.IsNone());
}

TEST(Reflection, ValuesExportAsText)
{
    UTestObject* Object = NewObject<UTestObject>(CreatePackage("/Game/Tests/Export"), "Exported");
    Object->Options = {"Alpha", "Beta, Gamma", ""};
    Object->Other = Object;
    const UClass* Class = Object->GetClass();
    EXPECT_EQ(Class->FindPropertyByName("Amount")->ExportText(Object), "1.0");
    EXPECT_EQ(Class->FindPropertyByName("Mode")->ExportText(Object), "First");
    EXPECT_EQ(Class->FindPropertyByName("Other")->ExportText(Object), "/Game/Tests/Export.Exported");
    EXPECT_EQ(Class->FindPropertyByName("Options")->ExportText(Object), "(Alpha,\"Beta, Gamma\",\"\")");

    UTestObject* Copy = NewObject<UTestObject>();
    FString Error;
    const FProperty* Options = Class->FindPropertyByName("Options");
    ASSERT_TRUE(SetPropertyValueFromText(Copy, *Options, Options->ExportText(Object), Error)) << *Error;
    EXPECT_EQ(Copy->Options, Object->Options);
    Object->Options.Add(R"(He said "hi", then (left))");
    Object->Options.Add(R"(a,b\)");
    Object->Options.Add(R"(z\")");
    ASSERT_TRUE(SetPropertyValueFromText(Copy, *Options, Options->ExportText(Object), Error)) << *Error;
    EXPECT_EQ(Copy->Options, Object->Options) << "quotes, commas and brackets survive a round trip";
    ASSERT_TRUE(SetByText(Copy, "Other", "/Game/Tests/Export.Exported"));
    EXPECT_EQ(Copy->Other, Object);
}

TEST(Reflection, FunctionsAreCalledByNameOrDisplayNameAndGiveTheirResult)
{
    UTestObject* Object = NewObject<UTestObject>();
    FString Error;
    EXPECT_TRUE(CallFunctionByName(Object, "press me", Error));
    EXPECT_EQ(Object->PressCount, 1);
    EXPECT_FALSE(CallFunctionByName(Object, "Explode", Error));
    EXPECT_EQ(Error, "TestObject has no function 'Explode'");

    TArray<FString> Names;
    const FFunction* GetNames = Object->GetClass()->FindFunctionByName("GetOptionNames");
    ASSERT_TRUE(GetNames->Call(Object, Names));
    EXPECT_EQ(Names, (TArray<FString>{"Alpha", "Beta, Gamma"}));
    int32 Wrong = 0;
    EXPECT_FALSE(GetNames->Call(Object, Wrong)) << "a result of the wrong type is refused";
}

TEST(Reflection, EditConditionsFollowTheValues)
{
    UTestObject* Object = NewObject<UTestObject>();
    const UClass* Class = Object->GetClass();
    const FProperty& SecondOnly = *Class->FindPropertyByName("SecondOnly");
    const FProperty& Gated = *Class->FindPropertyByName("Gated");
    EXPECT_TRUE(IsEditConditionMet(Object, *Class->FindPropertyByName("Amount")));
    EXPECT_FALSE(IsEditConditionMet(Object, SecondOnly));
    Object->Mode = ETestMode::Second;
    EXPECT_TRUE(IsEditConditionMet(Object, SecondOnly));

    EXPECT_FALSE(IsEditConditionMet(Object, Gated));
    Object->bEnabled = true;
    EXPECT_FALSE(IsEditConditionMet(Object, Gated));
    Object->Count = 4;
    EXPECT_TRUE(IsEditConditionMet(Object, Gated));
}

TEST(Reflection, DisplayNamesSplitCodeNames)
{
    EXPECT_EQ(MakeDisplayNameFromCodeName("bPendingDelete"), "Pending Delete");
    EXPECT_EQ(MakeDisplayNameFromCodeName("TargetEdgeLength"), "Target Edge Length");
    EXPECT_EQ(MakeDisplayNameFromCodeName("LOD0Index"), "LOD 0 Index");
    EXPECT_EQ(MakeDisplayNameFromCodeName("bone"), "bone");
}
