#pragma once

/** The name the module is registered and loaded under. */
inline constexpr const char RivetEditorModuleName[] = "RivetEditor";
