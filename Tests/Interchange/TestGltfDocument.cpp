#include "TestGltfDocument.h"

#include <cstring>

namespace
{
std::string Base64(const std::string& Bytes)
{
    static const char* Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string Out;
    size_t Index = 0;
    for (; Index + 2 < Bytes.size(); Index += 3)
    {
        const uint32_t Triple =
            (uint8_t(Bytes[Index]) << 16) | (uint8_t(Bytes[Index + 1]) << 8) | uint8_t(Bytes[Index + 2]);
        for (int Shift = 18; Shift >= 0; Shift -= 6)
        {
            Out += Alphabet[(Triple >> Shift) & 63];
        }
    }
    if (Index < Bytes.size())
    {
        const bool bTwo = Index + 1 < Bytes.size();
        const uint32_t Triple = (uint8_t(Bytes[Index]) << 16) | (bTwo ? uint8_t(Bytes[Index + 1]) << 8 : 0);
        Out += Alphabet[(Triple >> 18) & 63];
        Out += Alphabet[(Triple >> 12) & 63];
        Out += bTwo ? Alphabet[(Triple >> 6) & 63] : '=';
        Out += '=';
    }
    return Out;
}

void AppendUint32(std::string& Out, uint32_t Value)
{
    Out.append(reinterpret_cast<const char*>(&Value), 4);
}

/** The bytes filled up with Fill to a multiple of four. */
std::string Padded(std::string Bytes, char Fill)
{
    Bytes.resize((Bytes.size() + 3) / 4 * 4, Fill);
    return Bytes;
}
} // namespace

FTestGltfDocument::FTestGltfDocument()
{
    Json = {{"asset", {{"version", "2.0"}}},
            {"scene", 0},
            {"scenes", {{{"nodes", nlohmann::json::array()}}}},
            {"nodes", nlohmann::json::array()},
            {"accessors", nlohmann::json::array()},
            {"bufferViews", nlohmann::json::array()}};
}

int FTestGltfDocument::AddView(const void* Data, size_t Size)
{
    Bin = Padded(Bin, '\0');
    Json["bufferViews"].push_back({{"buffer", 0}, {"byteOffset", Bin.size()}, {"byteLength", Size}});
    Bin.append(static_cast<const char*>(Data), Size);
    return static_cast<int>(Json["bufferViews"].size()) - 1;
}

int FTestGltfDocument::AddAccessor(int View, int ComponentType, size_t Count, const char* Type)
{
    Json["accessors"].push_back(
        {{"bufferView", View}, {"componentType", ComponentType}, {"count", Count}, {"type", Type}});
    return static_cast<int>(Json["accessors"].size()) - 1;
}

int FTestGltfDocument::AddFloats(const std::vector<float>& Values, const char* Type, bool bBounds)
{
    const size_t Components = std::string(Type) == "SCALAR" ? 1
                              : std::string(Type) == "VEC2" ? 2
                              : std::string(Type) == "VEC3" ? 3
                              : std::string(Type) == "VEC4" ? 4
                                                            : 16;
    const int Accessor =
        AddAccessor(AddView(Values.data(), Values.size() * 4), 5126, Values.size() / Components, Type);
    if (bBounds)
    {
        std::vector<float> Min(Values.begin(), Values.begin() + Components);
        std::vector<float> Max = Min;
        for (size_t Index = 0; Index < Values.size(); ++Index)
        {
            Min[Index % Components] = std::min(Min[Index % Components], Values[Index]);
            Max[Index % Components] = std::max(Max[Index % Components], Values[Index]);
        }
        Json["accessors"][Accessor]["min"] = Min;
        Json["accessors"][Accessor]["max"] = Max;
    }
    return Accessor;
}

int FTestGltfDocument::AddUnsignedShorts(const std::vector<uint16_t>& Values, const char* Type)
{
    return AddAccessor(AddView(Values.data(), Values.size() * 2), 5123, Values.size() / 4, Type);
}

int FTestGltfDocument::AddIndices(const std::vector<uint32_t>& Values)
{
    return AddAccessor(AddView(Values.data(), Values.size() * 4), 5125, Values.size(), "SCALAR");
}

int FTestGltfDocument::AddNode(nlohmann::json Node)
{
    Json["nodes"].push_back(std::move(Node));
    return static_cast<int>(Json["nodes"].size()) - 1;
}

std::string FTestGltfDocument::ToText(const std::string& BufferUri) const
{
    nlohmann::json Document = Json;
    const std::string Uri =
        BufferUri.empty() ? "data:application/octet-stream;base64," + Base64(Bin) : BufferUri;
    Document["buffers"] = {{{"byteLength", Bin.size()}, {"uri", Uri}}};
    return Document.dump();
}

std::string FTestGltfDocument::ToBinary() const
{
    nlohmann::json Document = Json;
    Document["buffers"] = {{{"byteLength", Bin.size()}}};
    const std::string Text = Padded(Document.dump(), ' ');
    const std::string Chunk = Padded(Bin, '\0');
    std::string Out = "glTF";
    AppendUint32(Out, 2);
    AppendUint32(Out, static_cast<uint32_t>(12 + 8 + Text.size() + 8 + Chunk.size()));
    AppendUint32(Out, static_cast<uint32_t>(Text.size()));
    AppendUint32(Out, 0x4E4F534A);
    Out += Text;
    AppendUint32(Out, static_cast<uint32_t>(Chunk.size()));
    AppendUint32(Out, 0x004E4942);
    Out += Chunk;
    return Out;
}
