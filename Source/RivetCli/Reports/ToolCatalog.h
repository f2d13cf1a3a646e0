#pragma once

#include <nlohmann/json.hpp>

class FHeadlessEditor;
class FRivetConsole;

/**
 * The modeling mode's sections and tools as the editor shows them: each tool that this build has is
 * started on the editor's open asset and cancelled again, and its panels are read through reflection
 * (the properties a panel shows, with display names, tooltips, limits and current values, and the
 * buttons, with display names and tooltips).
 */
nlohmann::json DescribeTools(FHeadlessEditor& Editor);

/** Prints a catalog made by DescribeTools as indented lines. */
void PrintToolCatalog(FRivetConsole& Console, const nlohmann::json& Sections);
