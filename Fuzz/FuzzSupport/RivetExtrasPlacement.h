#pragma once

#include <nlohmann/json.hpp>

/**
 * The extras reader's input as one JSON object: for each glTF object that carries "rivet" extras, its
 * JSON pointer in the document ("/nodes/0", "/meshes/1") mapped to those extras.
 */
nlohmann::json CollectRivetExtras(const nlohmann::json& Document);

/**
 * Sets the "rivet" extras of each object that Placement names to the value given for it. False when
 * Placement is not an object or names something that is not an object of the document.
 */
bool PlaceRivetExtras(nlohmann::json& Document, const nlohmann::json& Placement);
