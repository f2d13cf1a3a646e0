#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct aiScene;

/**
 * A small skinned character built directly as an importer-library scene, in the file's own units
 * (Y up, one unit per step):
 * - nodes: "Scene" > "Armature" (moved by (0, 0, 1)) > "Hips" at (0, 1, 0) > "Spine" at (0, 1, 0),
 *   "Hips" > "Leg" at (1, 0, 0); and "Scene" > "Body" holding both meshes;
 * - mesh "BodySkin" (material "Skin"): a column of two unit quads, x 0..1, y 1..3 (4 triangles),
 *   weights blending Hips into Spine and Leg, and the morph target "Bulge" (top row +0.5 along z);
 * - mesh "BodyCloth" (material "Cloth"): one quad, x 1..2, y 1..2 (2 triangles), Hips and Leg;
 * - animation "Wave", 1 second long: "Hips" rises from (0, 1, 0) to (0, 1.5, 0) below "Armature",
 *   "Spine" turns a quarter turn about z.
 * Every vertex has influences; the bind pose is the node pose.
 */
std::unique_ptr<aiScene> BuildAssimpTestScene();

/** Writes the scene with the exporter of FormatId ("fbx", "fbxa", "collada"); the error when it fails. */
std::string ExportAssimpTestScene(const aiScene& Scene, const char* FormatId, const std::string& Path);

/** The influences (bone name, weight) the scene gives a vertex at (X, Y) of the file. */
std::vector<std::pair<std::string, float>> AssimpTestSceneWeights(float X, float Y);
