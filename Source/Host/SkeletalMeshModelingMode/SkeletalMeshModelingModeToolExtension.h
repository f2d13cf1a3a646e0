#pragma once

#include "Core/Containers/Array.h"
#include "Core/Modules/ModularFeature.h"
#include "Core/Name/Name.h"
#include "Core/Text/Text.h"
#include "Slate/Framework/Commands/CommandInfo.h"

#include <memory>

class UInteractiveToolBuilder;

/** What the modeling mode asks of an extension's tool list. */
struct FExtensionToolQueryInfo
{
    /** Only names and commands are wanted (to list the tools); no builder need be made. */
    bool bIsInfoQueryOnly = false;
};

/** One tool an extension adds to the modeling mode. */
struct FExtensionToolDescription
{
    FText ToolName;
    std::shared_ptr<FCommandInfo> ToolCommand;
    /** Builds the tool; owned by the extension. Null in answers to info-only queries. */
    UInteractiveToolBuilder* ToolBuilder = nullptr;
};

/**
 * How a module adds a section of tools to the skeletal mesh modeling mode: it registers an
 * implementation as a modular feature under GetModularFeatureName() when it starts, and
 * unregisters it when it shuts down.
 */
class ISkeletalMeshModelingModeToolExtension : public IModularFeature
{
public:
    static FName GetModularFeatureName() { return FName("SkeletalMeshModelingModeToolExtension"); }

    virtual FText GetExtensionName() = 0;
    virtual FText GetToolSectionName() = 0;
    /** Appends the extension's tools to ToolsOut, in the order the section shows them. */
    virtual void GetExtensionTools(const FExtensionToolQueryInfo& QueryInfo,
                                   TArray<FExtensionToolDescription>& ToolsOut) = 0;
};
