#include "CliTestFixture.h"
#include "PngReading.h"

#include <algorithm>
#include <filesystem>
#include <regex>

using testing::HasSubstr;
using testing::Not;

TEST(DemoPageTest, ThePageNamesABeforeAndAfterPairForEveryStepAndEachImageDecodes)
{
    const FTestFolder Folder;
    const std::string Out = Folder.File("demo").ToStdString();

    const FCliRun Run = RunCli({"demo", "--out", Out});

    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr(", report page " + Out + "/index.html\n"));
    const std::string Page = ReadBytes(FString(Out + "/index.html"));
    EXPECT_THAT(Page, Not(HasSubstr("<script")));
    EXPECT_THAT(Page, HasSubstr("\nnote: Moved 256 polygon(s) into slot 4 ('Face').\n"));
    const std::regex Image("<img src=\"([^\"]+)\"");
    std::vector<std::string> Images;
    for (auto Match = std::sregex_iterator(Page.begin(), Page.end(), Image); Match != std::sregex_iterator();
         ++Match)
    {
        Images.push_back((*Match)[1]);
    }
    // Every step folder the demo made has its pair on the page, in step order.
    std::vector<std::string> Expected;
    std::vector<std::string> StepFolders;
    for (const auto& Entry : std::filesystem::directory_iterator(Out))
    {
        if (Entry.is_directory())
        {
            StepFolders.push_back(Entry.path().filename().string());
        }
    }
    std::sort(StepFolders.begin(), StepFolders.end());
    for (const std::string& Step : StepFolders)
    {
        Expected.insert(Expected.end(), {Step + "/before.png", Step + "/after.png"});
    }
    EXPECT_GE(StepFolders.size(), 2u);
    EXPECT_EQ(Images, Expected);
    for (const std::string& Name : Images)
    {
        FDecodedPng Decoded;
        EXPECT_TRUE(DecodePngFile(Out + "/" + Name, Decoded)) << Name;
        EXPECT_EQ(Decoded.Width, 800);
    }
}
