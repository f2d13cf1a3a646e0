#include "Support/Assimp/AssimpTestScene.h"

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>
#include <cmath>
#include <map>

namespace
{
aiMatrix4x4 Translated(const aiVector3D& Translation)
{
    aiMatrix4x4 Matrix;
    return aiMatrix4x4::Translation(Translation, Matrix);
}

aiNode* AddNode(aiNode* Parent, const char* Name, const aiVector3D& Translation)
{
    aiNode* Node = new aiNode(Name);
    Node->mTransformation = Translated(Translation);
    Node->mParent = Parent;
    aiNode** Children = new aiNode*[Parent->mNumChildren + 1];
    for (unsigned Index = 0; Index < Parent->mNumChildren; ++Index)
    {
        Children[Index] = Parent->mChildren[Index];
    }
    Children[Parent->mNumChildren++] = Node;
    delete[] Parent->mChildren;
    Parent->mChildren = Children;
    return Node;
}

aiMaterial* MakeMaterial(const char* Name)
{
    aiMaterial* Material = new aiMaterial();
    const aiString Text(Name);
    Material->AddProperty(&Text, AI_MATKEY_NAME);
    const aiColor3D Color(0.5f, 0.5f, 0.5f);
    Material->AddProperty(&Color, 1, AI_MATKEY_COLOR_DIFFUSE);
    return Material;
}

/** A grid of quads (Columns x Rows) from (X0, Y0), facing +z, as two triangles per quad. */
aiMesh* MakeGridMesh(const char* Name, unsigned Material, float X0, float Y0, unsigned Columns, unsigned Rows)
{
    aiMesh* Mesh = new aiMesh();
    Mesh->mName = Name;
    Mesh->mMaterialIndex = Material;
    Mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    Mesh->mNumVertices = (Columns + 1) * (Rows + 1);
    Mesh->mVertices = new aiVector3D[Mesh->mNumVertices];
    Mesh->mNormals = new aiVector3D[Mesh->mNumVertices];
    for (unsigned Row = 0; Row <= Rows; ++Row)
    {
        for (unsigned Column = 0; Column <= Columns; ++Column)
        {
            const unsigned Vertex = Row * (Columns + 1) + Column;
            Mesh->mVertices[Vertex] = aiVector3D(X0 + Column, Y0 + Row, 0.0f);
            Mesh->mNormals[Vertex] = aiVector3D(0.0f, 0.0f, 1.0f);
        }
    }
    Mesh->mNumFaces = Columns * Rows * 2;
    Mesh->mFaces = new aiFace[Mesh->mNumFaces];
    unsigned Face = 0;
    for (unsigned Row = 0; Row < Rows; ++Row)
    {
        for (unsigned Column = 0; Column < Columns; ++Column)
        {
            const unsigned A = Row * (Columns + 1) + Column;
            const unsigned C = A + Columns + 1;
            const unsigned Triangles[2][3] = {{A, A + 1, C + 1}, {A, C + 1, C}};
            for (const auto& Corners : Triangles)
            {
                aiFace& Data = Mesh->mFaces[Face++];
                Data.mNumIndices = 3;
                Data.mIndices = new unsigned[3]{Corners[0], Corners[1], Corners[2]};
            }
        }
    }
    return Mesh;
}

/** Bind pose = node pose: each bone's offset is the inverse of its global transform. */
void SkinMesh(aiMesh& Mesh, const std::map<std::string, aiMatrix4x4>& Globals)
{
    std::map<std::string, std::vector<aiVertexWeight>> WeightsOfBone;
    for (unsigned Vertex = 0; Vertex < Mesh.mNumVertices; ++Vertex)
    {
        for (const auto& [Bone, Weight] :
             AssimpTestSceneWeights(Mesh.mVertices[Vertex].x, Mesh.mVertices[Vertex].y))
        {
            WeightsOfBone[Bone].push_back(aiVertexWeight(Vertex, Weight));
        }
    }
    Mesh.mNumBones = static_cast<unsigned>(WeightsOfBone.size());
    Mesh.mBones = new aiBone*[Mesh.mNumBones];
    unsigned Index = 0;
    for (const auto& [Name, Weights] : WeightsOfBone)
    {
        aiBone* Bone = new aiBone();
        Bone->mName = Name;
        Bone->mOffsetMatrix = aiMatrix4x4(Globals.at(Name)).Inverse();
        Bone->mNumWeights = static_cast<unsigned>(Weights.size());
        Bone->mWeights = new aiVertexWeight[Weights.size()];
        std::copy(Weights.begin(), Weights.end(), Bone->mWeights);
        Mesh.mBones[Index++] = Bone;
    }
}

void AddBulge(aiMesh& Mesh)
{
    aiAnimMesh* Morph = new aiAnimMesh();
    Morph->mName = "Bulge";
    Morph->mNumVertices = Mesh.mNumVertices;
    Morph->mVertices = new aiVector3D[Mesh.mNumVertices];
    Morph->mNormals = new aiVector3D[Mesh.mNumVertices];
    for (unsigned Vertex = 0; Vertex < Mesh.mNumVertices; ++Vertex)
    {
        const bool bTop = Mesh.mVertices[Vertex].y == 3.0f;
        Morph->mVertices[Vertex] = Mesh.mVertices[Vertex] + aiVector3D(0.0f, 0.0f, bTop ? 0.5f : 0.0f);
        Morph->mNormals[Vertex] = Mesh.mNormals[Vertex];
    }
    Morph->mWeight = 0.0f;
    Mesh.mNumAnimMeshes = 1;
    Mesh.mAnimMeshes = new aiAnimMesh* [1]
    {
        Morph
    };
}

/** A channel keyed at 0 and 1: translation From to To, rotation from none to Turn. */
aiNodeAnim* MakeChannel(const char* Node, const aiVector3D& From, const aiVector3D& To,
                        const aiQuaternion& Turn)
{
    // Every curve is keyed at both ends: the Collada writer samples all three at the same times.
    aiNodeAnim* Channel = new aiNodeAnim();
    Channel->mNodeName = Node;
    Channel->mNumPositionKeys = 2;
    Channel->mPositionKeys = new aiVectorKey[2]{aiVectorKey(0.0, From), aiVectorKey(1.0, To)};
    Channel->mNumRotationKeys = 2;
    Channel->mRotationKeys = new aiQuatKey[2]{aiQuatKey(0.0, aiQuaternion()), aiQuatKey(1.0, Turn)};
    const aiVector3D One(1.0f, 1.0f, 1.0f);
    Channel->mNumScalingKeys = 2;
    Channel->mScalingKeys = new aiVectorKey[2]{aiVectorKey(0.0, One), aiVectorKey(1.0, One)};
    return Channel;
}

aiAnimation* MakeWave()
{
    aiAnimation* Animation = new aiAnimation();
    Animation->mName = "Wave";
    // One tick per second: both writers store key times as if they were seconds.
    Animation->mTicksPerSecond = 1.0;
    Animation->mDuration = 1.0;
    const aiVector3D Up(0.0f, 1.0f, 0.0f);
    Animation->mNumChannels = 2;
    Animation->mChannels = new aiNodeAnim* [2]
    {
        MakeChannel("Hips", Up, aiVector3D(0.0f, 1.5f, 0.0f), aiQuaternion()),
            MakeChannel("Spine", Up, Up, aiQuaternion(aiVector3D(0.0f, 0.0f, 1.0f), float(M_PI / 2)))
    };
    return Animation;
}
} // namespace

std::vector<std::pair<std::string, float>> AssimpTestSceneWeights(float X, float Y)
{
    if (X == 2.0f)
    {
        return Y == 1.0f ? std::vector<std::pair<std::string, float>>{{"Hips", 0.2f}, {"Leg", 0.8f}}
                         : std::vector<std::pair<std::string, float>>{{"Leg", 1.0f}};
    }
    if (Y == 1.0f)
    {
        return {{"Hips", 1.0f}};
    }
    if (Y == 2.0f)
    {
        return {{"Hips", 0.5f}, {"Spine", 0.5f}};
    }
    return {{"Spine", 0.75f}, {"Leg", 0.25f}};
}

std::unique_ptr<aiScene> BuildAssimpTestScene()
{
    auto Scene = std::make_unique<aiScene>();
    Scene->mRootNode = new aiNode("Scene");
    aiNode* Armature = AddNode(Scene->mRootNode, "Armature", aiVector3D(0.0f, 0.0f, 1.0f));
    aiNode* Hips = AddNode(Armature, "Hips", aiVector3D(0.0f, 1.0f, 0.0f));
    AddNode(Hips, "Spine", aiVector3D(0.0f, 1.0f, 0.0f));
    AddNode(Hips, "Leg", aiVector3D(1.0f, 0.0f, 0.0f));
    aiNode* Body = AddNode(Scene->mRootNode, "Body", aiVector3D(0.0f, 0.0f, 0.0f));
    Body->mNumMeshes = 2;
    Body->mMeshes = new unsigned[2]{0, 1};

    // Bones are bound in mesh space, where the armature node's offset is not applied.
    const std::map<std::string, aiMatrix4x4> Globals = {{"Hips", Translated(aiVector3D(0, 1, 1))},
                                                        {"Spine", Translated(aiVector3D(0, 2, 1))},
                                                        {"Leg", Translated(aiVector3D(1, 1, 1))}};

    Scene->mNumMaterials = 2;
    Scene->mMaterials = new aiMaterial* [2]
    {
        MakeMaterial("Skin"), MakeMaterial("Cloth")
    };
    aiMesh* Skin = MakeGridMesh("BodySkin", 0, 0.0f, 1.0f, 1, 2);
    aiMesh* Cloth = MakeGridMesh("BodyCloth", 1, 1.0f, 1.0f, 1, 1);
    SkinMesh(*Skin, Globals);
    SkinMesh(*Cloth, Globals);
    AddBulge(*Skin);
    Scene->mNumMeshes = 2;
    Scene->mMeshes = new aiMesh* [2]
    {
        Skin, Cloth
    };
    Scene->mNumAnimations = 1;
    Scene->mAnimations = new aiAnimation* [1]
    {
        MakeWave()
    };
    return Scene;
}

std::string ExportAssimpTestScene(const aiScene& Scene, const char* FormatId, const std::string& Path)
{
    Assimp::Exporter Exporter;
    if (Exporter.Export(&Scene, FormatId, Path) != AI_SUCCESS)
    {
        return Exporter.GetErrorString();
    }
    return {};
}
