#pragma once

#include "Core/Modules/ModularFeatures.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/StrongObjectPtr.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingModeToolExtension.h"
#include "Support/Tools/SampleSelectionTool.h"

/**
 * A tool extension offering the sample selection tool in a section "Samples", and a tool whose builder is
 * missing: registered beside the module, it lets tests drive a panel with clamped, disabled and read-only
 * fields. The sample tool's builder is made by the first full query.
 */
class FSampleToolExtension : public ISkeletalMeshModelingModeToolExtension
{
public:
    FText GetExtensionName() override { return FText::FromString("Samples"); }
    FText GetToolSectionName() override { return FText::FromString("Samples"); }
    void GetExtensionTools(const FExtensionToolQueryInfo& QueryInfo,
                           TArray<FExtensionToolDescription>& ToolsOut) override
    {
        if (!QueryInfo.bIsInfoQueryOnly && !Builder.Get())
        {
            Builder.Reset(NewObject<USampleSelectionToolBuilder>(GetTransientPackage()));
        }
        ToolsOut.Add({FText::FromString("Sample Selection"), Command, Builder.Get()});
        ToolsOut.Add({FText::FromString("Not Built Yet"), nullptr, nullptr});
    }

    void Register() { IModularFeatures::Get().RegisterModularFeature(GetModularFeatureName(), this); }
    void Unregister() { IModularFeatures::Get().UnregisterModularFeature(GetModularFeatureName(), this); }

    std::shared_ptr<FCommandInfo> Command =
        std::make_shared<FCommandInfo>(FCommandInfo{"BeginSampleSelection"});
    TStrongObjectPtr<UInteractiveToolBuilder> Builder;
};
