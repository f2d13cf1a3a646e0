#include "RivetCli/Reports/ToolCatalog.h"

#include "CoreUObject/Reflection/Class.h"
#include "CoreUObject/Reflection/Function.h"
#include "CoreUObject/Reflection/Property.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolPropertySet.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Reports/JsonText.h"

#include <algorithm>

using nlohmann::json;

namespace
{
const char* const PropertyLimits[][2] = {
    {"ClampMin", "clampMin"}, {"ClampMax", "clampMax"}, {"UIMin", "uiMin"}, {"UIMax", "uiMax"}};

void AddMetaData(json& Entry, const FField& Field, const char* Key, const char* JsonKey)
{
    if (Field.HasMetaData(FName(Key)))
    {
        Entry[JsonKey] = *Field.GetMetaData(FName(Key));
    }
}

json DescribeProperty(const UObject& Panel, const FProperty& Property)
{
    json Entry = {{"name", *Property.GetName()},
                  {"displayName", *Property.GetDisplayName()},
                  {"type", *Property.GetTypeName()},
                  {"value", *Property.ExportText(&Panel)},
                  {"editable", Property.IsEditable()}};
    AddMetaData(Entry, Property, "Category", "category");
    AddMetaData(Entry, Property, "ToolTip", "tooltip");
    AddMetaData(Entry, Property, "EditCondition", "editCondition");
    for (const auto& [Key, JsonKey] : PropertyLimits)
    {
        AddMetaData(Entry, Property, Key, JsonKey);
    }
    return Entry;
}

json DescribeButton(const FFunction& Function)
{
    json Entry = {{"name", *Function.GetName()}, {"displayName", *Function.GetDisplayName()}};
    AddMetaData(Entry, Function, "Category", "category");
    AddMetaData(Entry, Function, "ToolTip", "tooltip");
    AddMetaData(Entry, Function, "DisplayPriority", "displayPriority");
    return Entry;
}

json DescribePanel(const UInteractiveToolPropertySet& Panel)
{
    const UClass* Class = Panel.GetClass();
    json Properties = json::array();
    for (const FProperty* Property : Class->GetProperties())
    {
        if (Property->IsVisible())
        {
            Properties.push_back(DescribeProperty(Panel, *Property));
        }
    }
    json Buttons = json::array();
    for (const FFunction* Function : Class->GetFunctions())
    {
        if (Function->HasMetaData("CallInEditor"))
        {
            Buttons.push_back(DescribeButton(*Function));
        }
    }
    json Entry = {{"class", *Class->GetName()}, {"properties", Properties}, {"buttons", Buttons}};
    if (Class->HasMetaData("ToolTip"))
    {
        Entry["tooltip"] = *Class->GetMetaDataText("ToolTip");
    }
    return Entry;
}

json DescribeTool(FHeadlessEditor& Editor, const FExtensionToolDescription& Tool)
{
    json Entry = {{"name", *Tool.ToolName.ToString()}, {"available", Tool.ToolBuilder != nullptr}};
    if (Tool.ToolCommand)
    {
        Entry["command"] = *Tool.ToolCommand->GetCommandName().ToString();
        Entry["tooltip"] = *Tool.ToolCommand->GetDescription().ToString();
    }
    if (!Tool.ToolBuilder)
    {
        return Entry;
    }
    UInteractiveTool* Started = Editor.StartTool(Tool.ToolName.ToString());
    if (!Started)
    {
        Entry["available"] = false;
        return Entry;
    }
    json Panels = json::array();
    for (const UInteractiveToolPropertySet* Panel : Started->GetToolProperties())
    {
        Panels.push_back(DescribePanel(*Panel));
    }
    Entry["panels"] = Panels;
    Editor.CancelTool();
    return Entry;
}

/** "0 to 100" from the panel's clamp (or, failing that, slider) limits; empty without limits. */
std::string DescribeLimits(const json& Property)
{
    const char* Low = Property.contains("clampMin") ? "clampMin" : "uiMin";
    const char* High = Property.contains("clampMax") ? "clampMax" : "uiMax";
    if (!Property.contains(Low) && !Property.contains(High))
    {
        return "";
    }
    return ", " + (Property.contains(Low) ? JsonText(Property[Low]) : std::string("...")) + " to " +
           (Property.contains(High) ? JsonText(Property[High]) : std::string("..."));
}

/** A text on one line of the listing: line breaks become spaces. */
std::string OneLine(const json& Text)
{
    std::string Line = JsonText(Text);
    std::replace(Line.begin(), Line.end(), '\n', ' ');
    return Line;
}

/** ": <tooltip>" on one line of the listing; empty without a tooltip. */
std::string DescribeTooltip(const json& Entry)
{
    return Entry.contains("tooltip") ? ": " + OneLine(Entry["tooltip"]) : "";
}

void PrintPanel(FRivetConsole& Console, const json& Panel)
{
    Console.Print(
        FString::Printf("    panel %s%s", JsonText(Panel["class"]).c_str(), DescribeTooltip(Panel).c_str()));
    for (const json& Property : Panel["properties"])
    {
        Console.Print(FString::Printf("      property \"%s\" (%s, %s) = %s%s%s",
                                      JsonText(Property["displayName"]).c_str(),
                                      JsonText(Property["name"]).c_str(), JsonText(Property["type"]).c_str(),
                                      OneLine(Property["value"]).c_str(), DescribeLimits(Property).c_str(),
                                      DescribeTooltip(Property).c_str()));
    }
    for (const json& Button : Panel["buttons"])
    {
        Console.Print(FString::Printf("      button \"%s\" (%s)%s", JsonText(Button["displayName"]).c_str(),
                                      JsonText(Button["name"]).c_str(), DescribeTooltip(Button).c_str()));
    }
}
} // namespace

json DescribeTools(FHeadlessEditor& Editor)
{
    json Sections = json::array();
    for (const FModelingModeToolSection& Section : Editor.GetMode().GetToolSections())
    {
        json Tools = json::array();
        for (const FExtensionToolDescription& Tool : Section.Tools)
        {
            Tools.push_back(DescribeTool(Editor, Tool));
        }
        Sections.push_back({{"name", *Section.SectionName.ToString()}, {"tools", Tools}});
    }
    return Sections;
}

void PrintToolCatalog(FRivetConsole& Console, const json& Sections)
{
    for (const json& Section : Sections)
    {
        Console.Print(FString::Printf("%s", JsonText(Section["name"]).c_str()));
        for (const json& Tool : Section["tools"])
        {
            const std::string Command =
                Tool.contains("command") ? " (" + JsonText(Tool["command"]) + ")" : "";
            if (!Tool["available"].get<bool>())
            {
                Console.Print(FString::Printf("  %s%s: not available in this build",
                                              JsonText(Tool["name"]).c_str(), Command.c_str()));
                continue;
            }
            Console.Print(FString::Printf("  %s%s%s", JsonText(Tool["name"]).c_str(), Command.c_str(),
                                          DescribeTooltip(Tool).c_str()));
            for (const json& Panel : Tool["panels"])
            {
                PrintPanel(Console, Panel);
            }
        }
    }
}
