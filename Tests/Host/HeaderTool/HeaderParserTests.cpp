#include "HeaderParser.h"

#include <gtest/gtest.h>

using namespace HeaderTool;

namespace
{
FReflectedHeader Parse(const char* Source)
{
    return ParseHeader(Tokenize(Source));
}

std::string ParseError(const char* Source)
{
    try
    {
        Parse(Source);
    }
    catch (const FParseError& Error)
    {
        return std::to_string(Error.Line) + ": " + Error.what();
    }
    return "no error";
}
} // namespace

TEST(HeaderParser, ReadsClassesPropertiesFunctionsMetadataAndNumbers)
{
    const FReflectedHeader Header = Parse(R"(
        #include "Something.h"
        // VT_CLASS(in a comment) is ignored
        VT_CLASS(ToolTip = "Says \"hi\".\nTwice.")
        class UThing final : public UBase
        {
            VT_BODY(UThing, UBase)
        public:
            VT_PROPERTY(EditAnywhere, Category = "A", meta = (ClampMin = 0, EditConditionHides))
            TMap<FName, TArray<int32>> Table = {};

            VT_PROPERTY(VisibleAnywhere)
            TObjectPtr<UThing> Other{nullptr};
            VT_PROPERTY(ClampMin = -10, ClampMax = 1.5e+3) int32 Budget = 10'000; // Don't stop here
            VT_PROPERTY() float Scale = 2.5e-3f;

            void NotReflected() { if (true) { } }

            VT_FUNCTION(CallInEditor)
            TArray<FString> Options() const;
        };
    )");
    ASSERT_EQ(Header.Classes.size(), 1u);
    const FReflectedClass& Class = Header.Classes[0];
    EXPECT_EQ(Class.Name, "UThing");
    EXPECT_EQ(Class.SuperName, "UBase");
    ASSERT_EQ(Class.Arguments.MetaData.size(), 1u);
    EXPECT_EQ(Class.Arguments.MetaData[0].second, R"("Says \"hi\".\nTwice.")")
        << "literals are kept verbatim";

    ASSERT_EQ(Class.Properties.size(), 4u);
    EXPECT_EQ(Class.Properties[0].Name, "Table");
    EXPECT_TRUE(Class.Properties[0].Arguments.HasSpecifier("EditAnywhere"));
    const auto& Meta = Class.Properties[0].Arguments.MetaData;
    ASSERT_EQ(Meta.size(), 3u);
    EXPECT_EQ(Meta[1], (std::pair<std::string, std::string>{"ClampMin", "\"0\""}));
    EXPECT_EQ(Meta[2], (std::pair<std::string, std::string>{"EditConditionHides", "\"true\""}));
    EXPECT_EQ(Class.Properties[1].Name, "Other");
    EXPECT_EQ(Class.Properties[2].Arguments.MetaData[0].second, "\"-10\"") << "signed and real metadata";
    EXPECT_EQ(Class.Properties[2].Arguments.MetaData[1].second, "\"1.5e+3\"");
    EXPECT_EQ(Class.Properties[3].Name, "Scale") << "digit separators and comments end no declaration";
    ASSERT_EQ(Class.Functions.size(), 1u);
    EXPECT_EQ(Class.Functions[0].Name, "Options");
}

TEST(HeaderParser, MalformedMarkersNameTheLineAndTheProblem)
{
    EXPECT_EQ(ParseError("VT_CLASS()\nclass UThing : public UBase\n{\n};"),
              "4: class UThing needs VT_BODY(UThing, UBase)");
    EXPECT_EQ(ParseError("\nVT_PROPERTY()\nint32 Loose;"), "2: VT_PROPERTY outside a VT_CLASS class");
    EXPECT_EQ(ParseError("VT_CLASS(\n= 1)"), "2: expected a name but found '='");
    EXPECT_EQ(ParseError("VT_CLASS(A"), "1: unexpected end of file");
    EXPECT_EQ(ParseError("VT_CLASS()\nstruct FThing {};"), "2: VT_CLASS must be followed by a class");
    EXPECT_EQ(ParseError("VT_CLASS()\nclass UA : public UB\n{\nVT_BODY(UA, UObject)\n};"),
              "4: VT_BODY(UA, UObject) does not match class UA : public UB");
    EXPECT_EQ(ParseError(
                  "VT_CLASS()\nclass UA : public UB\n{ VT_BODY(UA, UB)\nVT_PROPERTY() float MinX, MaxX;\n};"),
              "4: declare one reflected member per declaration");
    EXPECT_EQ(ParseError("VT_CLASS(ToolTip = \"open\n)"), "1: unterminated literal");
}
