#pragma once

#include "CoreUObject/Object/Package.h"
#include "Interchange/Interchange.h"
#include "Support/TestFiles.h"
#include "TestGltfDocument.h"

#include <gtest/gtest.h>

/** A valid unskinned triangle; each test breaks one thing of it. */
inline FTestGltfDocument MakeTriangle(std::vector<float> Positions = {0, 0, 0, 1, 0, 0, 0, 1, 0},
                                      std::vector<uint32_t> Indices = {0, 1, 2})
{
    FTestGltfDocument Document;
    const int PositionAccessor = Document.AddFloats(Positions, "VEC3");
    const int IndexAccessor = Document.AddIndices(Indices);
    Document.Json["meshes"] = {
        {{"primitives", {{{"attributes", {{"POSITION", PositionAccessor}}}, {"indices", IndexAccessor}}}}}};
    Document.Json["scenes"][0]["nodes"].push_back(Document.AddNode({{"mesh", 0}}));
    return Document;
}

/** A triangle skinned to a chain of NumJoints joints, each with the same animation of two keys. */
inline FTestGltfDocument MakeAnimatedChain(int NumJoints, float EndTime)
{
    FTestGltfDocument Document = MakeTriangle();
    std::vector<uint16_t> Joints(12, 0);
    const int JointAccessor = Document.AddUnsignedShorts(Joints, "VEC4");
    const int WeightAccessor = Document.AddFloats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "VEC4");
    Document.Json["meshes"][0]["primitives"][0]["attributes"]["JOINTS_0"] = JointAccessor;
    Document.Json["meshes"][0]["primitives"][0]["attributes"]["WEIGHTS_0"] = WeightAccessor;
    Document.Json["nodes"][0]["skin"] = 0;
    const int Times = Document.AddFloats({0.0f, EndTime}, "SCALAR", true);
    const int Moves = Document.AddFloats({0, 0, 0, 0, 1, 0}, "VEC3");
    nlohmann::json Skin = {{"joints", nlohmann::json::array()}};
    nlohmann::json Animation = {{"name", "Long"},
                                {"samplers", {{{"input", Times}, {"output", Moves}}}},
                                {"channels", nlohmann::json::array()}};
    for (int Joint = 0; Joint < NumJoints; ++Joint)
    {
        const int Node = Document.AddNode({{"name", "J" + std::to_string(Joint)}});
        if (Joint > 0)
        {
            Document.Json["nodes"][Node - 1]["children"] = {Node};
        }
        else
        {
            Document.Json["scenes"][0]["nodes"].push_back(Node);
        }
        Skin["joints"].push_back(Node);
        Animation["channels"].push_back(
            {{"sampler", 0}, {"target", {{"node", Node}, {"path", "translation"}}}});
    }
    Document.Json["skins"] = nlohmann::json::array({Skin});
    Document.Json["animations"] = nlohmann::json::array({Animation});
    return Document;
}

/** The triangle with one sparse substitute for POSITION: element Index (of IndexType) becomes (5, 5, 5). */
template <typename IndexType>
inline FTestGltfDocument MakeSparseTriangle(IndexType Index, int ComponentType)
{
    FTestGltfDocument Document = MakeTriangle();
    const float Values[3] = {5, 5, 5};
    Document.Json["accessors"][0]["sparse"] = {
        {"count", 1},
        {"indices",
         {{"bufferView", Document.AddBufferView(&Index, sizeof(Index))}, {"componentType", ComponentType}}},
        {"values", {{"bufferView", Document.AddBufferView(Values, sizeof(Values))}}}};
    return Document;
}

/** Imports files that must be refused and checks each refusal: its message, and that nothing was made. */
class BadInput : public ::testing::Test
{
protected:
    /** Imports the file and checks the refusal: its message, and that no package was made. */
    void ExpectRefused(const FString& Path, const FString& Problem)
    {
        const FInterchangeResult Result = ImportSkinnedMeshFile(Path, Options);
        EXPECT_FALSE(Result.bSuccess);
        EXPECT_EQ(Result.Error, Path + ": " + Problem);
        EXPECT_EQ(Result.Package, nullptr);
        EXPECT_EQ(Result.Mesh, nullptr);
        EXPECT_EQ(FindPackage(Options.PackageName), nullptr);
    }

    void ExpectRefused(const FTestGltfDocument& Document, const FString& Problem)
    {
        const FString Path = Folder.File("Bad.gltf");
        WriteBytes(Path, Document.ToText());
        ExpectRefused(Path, Problem);
    }

    FTestFolder Folder;
    FInterchangeImportOptions Options{.PackageName = "/Game/BadInput/Refused"};
};
