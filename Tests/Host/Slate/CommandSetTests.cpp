#include "Slate/Framework/Commands/CommandSet.h"
#include "Slate/Framework/Commands/InputBindingManager.h"
#include "Slate/Styling/ApplicationStyle.h"

#include <gtest/gtest.h>

// Registering, re-registering and unregistering a command set are the module's commands' own tests.

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
        Open = MakeCommand("Open", "SampleNs", "Open It", "Opens it", EUserInterfaceActionType::Button,
                           FInputChord(FName("O"), false, true));
    }

    std::shared_ptr<FCommandInfo> Open;
};
} // namespace

TEST(CommandSet, ChordsFindTheirCommandInTheirContextOnly)
{
    FSampleCommands::Register();
    const FInputChord CtrlO(FName("O"), false, true);

    EXPECT_EQ(FInputBindingManager::Get().FindCommandForChord(FName("SampleContext"), CtrlO),
              FSampleCommands::Get().Open);
    EXPECT_EQ(
        FInputBindingManager::Get().FindCommandForChord(FName("SampleContext"), FInputChord(FName("O"))),
        nullptr);
    EXPECT_EQ(FInputBindingManager::Get().FindCommandForChord(FName("OtherContext"), CtrlO), nullptr);
    FSampleCommands::Unregister();
}
