#include "Slate/Framework/Commands/CommandSet.h"
#include "Slate/Framework/Commands/InputBindingManager.h"
#include "Slate/Styling/ApplicationStyle.h"
#include "Support/CommandsChangedCounter.h"

#include <gtest/gtest.h>

namespace
{
class FSampleCommands : public TCommandSet<FSampleCommands>
{
public:
    FSampleCommands()
        : TCommandSet(FName("SampleContext"), FText::MakeLocalized("SampleNs", "SampleContext", "Sample"),
                      NAME_None, FApplicationStyle::GetStyleSetName())
    {
    }

    void RegisterCommands() override
    {
        ++RegisterCommandsCalls;
        Open = MakeCommand("Open", "SampleNs", "Open It", "Opens it", EUserInterfaceActionType::Button,
                           FInputChord(FName("O"), false, true));
        Toggle = MakeCommand("Toggle", "SampleNs", "Toggle It", "Toggles it",
                             EUserInterfaceActionType::ToggleButton);
    }

    static inline int32 RegisterCommandsCalls = 0;
    std::shared_ptr<FCommandInfo> Open;
    std::shared_ptr<FCommandInfo> Toggle;
};

class CommandSetTest : public testing::Test
{
protected:
    void SetUp() override { FSampleCommands::RegisterCommandsCalls = 0; }
    void TearDown() override
    {
        FSampleCommands::Unregister();
        FInputBindingManager::Get().RemoveContextByName(FName("SampleContext"));
    }
};
} // namespace

TEST_F(CommandSetTest, RegisteringMakesTheCommandsOnceAndTellsTheHost)
{
    FCommandsChangedCounter Changes;
    FSampleCommands::Register();
    FSampleCommands::Register();

    EXPECT_EQ(FSampleCommands::RegisterCommandsCalls, 1);
    EXPECT_EQ(Changes.Count, 1);
    const FSampleCommands& Commands = FSampleCommands::Get();
    const TArray<std::shared_ptr<FCommandInfo>> Known =
        FInputBindingManager::Get().GetCommandsInContext(FName("SampleContext"));
    ASSERT_EQ(Known.Num(), 2);
    EXPECT_EQ(Known[0], Commands.Open);
    EXPECT_EQ(Known[1], Commands.Toggle);
}

TEST_F(CommandSetTest, CommandsCarryTheirTextsKeysAndDottedName)
{
    FSampleCommands::Register();
    const FCommandInfo& Toggle = *FSampleCommands::Get().Toggle;

    EXPECT_EQ(Toggle.ContextName, FName("SampleContext"));
    EXPECT_EQ(Toggle.DottedName, ".Toggle");
    EXPECT_EQ(Toggle.ActionType, EUserInterfaceActionType::ToggleButton);
    EXPECT_EQ(Toggle.GetLabel().GetNamespace(), "SampleNs");
    EXPECT_EQ(Toggle.GetLabel().GetKey(), "Toggle");
    EXPECT_EQ(Toggle.GetDescription().GetKey(), "Toggle_ToolTip");
    EXPECT_FALSE(Toggle.DefaultChord.IsValidChord());
    EXPECT_FALSE(Toggle.AlternateChord.IsValidChord());
}

TEST_F(CommandSetTest, ChordsFindTheirCommandInTheirContextOnly)
{
    FSampleCommands::Register();
    const FInputChord CtrlO(FName("O"), false, true);

    EXPECT_EQ(FInputBindingManager::Get().FindCommandForChord(FName("SampleContext"), CtrlO),
              FSampleCommands::Get().Open);
    EXPECT_EQ(
        FInputBindingManager::Get().FindCommandForChord(FName("SampleContext"), FInputChord(FName("O"))),
        nullptr);
    EXPECT_EQ(FInputBindingManager::Get().FindCommandForChord(FName("OtherContext"), CtrlO), nullptr);
}

TEST_F(CommandSetTest, UnregisteringRemovesTheContextAndTellsTheHost)
{
    FSampleCommands::Register();
    FCommandsChangedCounter Changes;
    FSampleCommands::Unregister();

    EXPECT_FALSE(FSampleCommands::IsRegistered());
    EXPECT_EQ(Changes.Count, 1);
    EXPECT_EQ(FInputBindingManager::Get().GetContextByName(FName("SampleContext")), nullptr);
    EXPECT_TRUE(FInputBindingManager::Get().GetCommandsInContext(FName("SampleContext")).IsEmpty());

    FSampleCommands::Unregister();
    EXPECT_EQ(Changes.Count, 1);
}

TEST_F(CommandSetTest, AContextTheHostAlreadyKnowsBecomesTheInstance)
{
    auto Existing = std::make_shared<FSampleCommands>();
    FInputBindingManager::Get().AddContext(Existing);
    FCommandsChangedCounter Changes;

    FSampleCommands::Register();

    EXPECT_EQ(&FSampleCommands::Get(), Existing.get());
    EXPECT_EQ(FSampleCommands::RegisterCommandsCalls, 0);
    EXPECT_EQ(Changes.Count, 0);
}

TEST_F(CommandSetTest, RegisteringAgainAfterUnregisteringMakesFreshCommands)
{
    FSampleCommands::Register();
    const std::shared_ptr<FCommandInfo> First = FSampleCommands::Get().Open;
    FSampleCommands::Unregister();
    FSampleCommands::Register();

    EXPECT_EQ(FSampleCommands::RegisterCommandsCalls, 2);
    EXPECT_NE(FSampleCommands::Get().Open, First);
    EXPECT_EQ(FInputBindingManager::Get().GetCommandsInContext(FName("SampleContext")).Num(), 2);
}
