#pragma once

#include "Core/Name/Name.h"
#include "Core/Text/Text.h"
#include "Slate/Framework/Commands/InputChord.h"
#include "Slate/Framework/Commands/UserInterfaceActionType.h"

/** One command of a binding context: what menus, toolbars and key bindings show and trigger. */
struct FCommandInfo
{
    FName CommandName;
    FName ContextName;
    FText Label;
    FText Description;
    /** The command's name as the style set and the binding files know it: ".CommandName". */
    FString DottedName;
    EUserInterfaceActionType ActionType = EUserInterfaceActionType::None;
    FInputChord DefaultChord;
    FInputChord AlternateChord;

    FName GetCommandName() const { return CommandName; }
    const FText& GetLabel() const { return Label; }
    const FText& GetDescription() const { return Description; }
};
