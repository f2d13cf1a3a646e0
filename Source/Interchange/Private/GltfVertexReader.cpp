#include "Interchange/Private/GltfVertexReader.h"

#include "Interchange/Private/GltfPrimitiveAttributes.h"
#include "Interchange/Private/InterchangeFailure.h"

namespace
{
class FVertexReader
{
public:
    FVertexReader(const FGltfAccessorReader& InReader, const FGltfVertexBlock& InBlock,
                  const FVertexPlacement& InPlacement, FSourceMesh& InMesh)
        : Reader(InReader), Block(InBlock), Primitive(*InBlock.Primitive), Placement(InPlacement),
          Mesh(InMesh)
    {
    }

    void Read()
    {
        ReadPositions();
        if (!Mesh.Normals.IsEmpty())
        {
            ReadNormals();
        }
        if (!Mesh.Tangents.IsEmpty())
        {
            ReadTangents();
        }
        ReadUVs();
        if (FindGltfAttribute(Primitive.attributes, "COLOR_0") != INDEX_NONE)
        {
            ReadColors();
        }
        if (!Mesh.VertexIDs.IsEmpty())
        {
            ReadVertexIDs();
        }
    }

private:
    void ReadPositions()
    {
        ReadAttribute("POSITION", 3, true);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            Mesh.Positions[Block.Start + V] = Placement.Position(Vector(V));
        }
    }

    void ReadNormals()
    {
        ReadAttribute("NORMAL", 3, true);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            const FVector Normal = Vector(V);
            Mesh.Normals[Block.Start + V] = FVector3f(Placement.GetConversion().Direction(
                Renormalize(Placement.GetNormalPlacement().TransformVector(Normal), Normal)));
        }
    }

    void ReadTangents()
    {
        ReadAttribute("TANGENT", 4, true);
        const float Mirror = Placement.IsMirrored() ? -1.0f : 1.0f;
        for (int32 V = 0; V < Block.Count; ++V)
        {
            const FVector Tangent(Values[V * 4], Values[V * 4 + 1], Values[V * 4 + 2]);
            const FVector3f Host(Placement.GetConversion().Direction(
                Renormalize(Placement.GetPlacement().TransformVector(Tangent), Tangent)));
            Mesh.Tangents[Block.Start + V] = FVector4f(Host.X, Host.Y, Host.Z, Values[V * 4 + 3] * Mirror);
        }
    }

    void ReadUVs()
    {
        for (int32 Channel = 0; Channel < Mesh.NumUVChannels; ++Channel)
        {
            if (ReadAttribute(("TEXCOORD_" + std::to_string(Channel)).c_str(), 2, false))
            {
                for (int32 V = 0; V < Block.Count; ++V)
                {
                    Mesh.UVs[(Block.Start + V) * Mesh.NumUVChannels + Channel] =
                        FVector2f(Values[V * 2], Values[V * 2 + 1]);
                }
            }
        }
    }

    void ReadColors()
    {
        const int32 Color = FindGltfAttribute(Primitive.attributes, "COLOR_0");
        const int32 NumComponents = Reader.GetNumComponents(Color, "COLOR_0") == 3 ? 3 : 4;
        ReadAttribute("COLOR_0", NumComponents, true);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            const float* C = &Values[V * NumComponents];
            Mesh.Colors[Block.Start + V] = FVector4f(C[0], C[1], C[2], NumComponents == 4 ? C[3] : 1.0f);
        }
    }

    /** The mesh vertex of each file vertex: _VERTEX holds its low and high 16 bits. */
    void ReadVertexIDs()
    {
        TArray<uint32> Halves;
        Reader.ReadIndices(FindGltfAttribute(Primitive.attributes, "_VERTEX"), 2, "_VERTEX", Halves);
        CheckGltfAttributeCount("_VERTEX", Halves.Num() / 2, Block.Count);
        for (int32 V = 0; V < Block.Count; ++V)
        {
            const uint32 Low = Halves[V * 2];
            const uint32 High = Halves[V * 2 + 1];
            if (Low > 0xFFFF || High > 0x7FFF)
            {
                FailImport("_VERTEX holds a vertex ID out of range (%u, %u)", Low, High);
            }
            Mesh.VertexIDs[Block.Start + V] = static_cast<int32>(Low | (High << 16));
        }
    }

    /** Reads an attribute of Count elements into Values; false when the primitive lacks it and it is
     * optional. */
    bool ReadAttribute(const char* Name, int32 NumComponents, bool bRequired)
    {
        const int32 Accessor = FindGltfAttribute(Primitive.attributes, Name);
        if (Accessor == INDEX_NONE)
        {
            if (bRequired)
            {
                FailImport("a primitive lacks the %s attribute", Name);
            }
            return false;
        }
        Reader.ReadFloats(Accessor, NumComponents, Name, Values);
        CheckGltfAttributeCount(Name, Values.Num() / NumComponents, Block.Count);
        return true;
    }

    FVector Vector(int32 V) const { return FVector(Values[V * 3], Values[V * 3 + 1], Values[V * 3 + 2]); }

    /** Keeps a unit vector unit after placement; an identity placement keeps the file's value exactly. */
    FVector Renormalize(const FVector& Placed, const FVector& Original) const
    {
        if (Placement.GetPlacement() == FMatrix::Identity)
        {
            return Original;
        }
        const double Length = Placed.Size();
        return Length > 0.0 ? Placed / Length : Placed;
    }

    const FGltfAccessorReader& Reader;
    const FGltfVertexBlock& Block;
    const tinygltf::Primitive& Primitive;
    const FVertexPlacement& Placement;
    FSourceMesh& Mesh;
    TArray<float> Values;
};
} // namespace

void ReadGltfVertices(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
                      const FVertexPlacement& Placement, FSourceMesh& Mesh)
{
    FVertexReader(Reader, Block, Placement, Mesh).Read();
}
