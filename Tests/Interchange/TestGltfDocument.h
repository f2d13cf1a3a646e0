#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

/**
 * A hand-made glTF document for tests: accessors are appended to one buffer, which is embedded as a
 * data URI (.gltf text) or stored as the binary chunk (.glb).
 */
class FTestGltfDocument
{
public:
    FTestGltfDocument();

    nlohmann::json Json;

    int AddFloats(const std::vector<float>& Values, const char* Type, bool bBounds = false);
    int AddUnsignedShorts(const std::vector<uint16_t>& Values, const char* Type);
    int AddIndices(const std::vector<uint32_t>& Values);
    /** A buffer view of raw bytes, for data no accessor helper writes (sparse substitutes, odd types). */
    int AddBufferView(const void* Data, size_t Size) { return AddView(Data, Size); }
    /** Appends a node and answers its index. */
    int AddNode(nlohmann::json Node);

    /** The .gltf text; its buffer embedded, or named by BufferUri as a file beside it. */
    std::string ToText(const std::string& BufferUri = "") const;
    std::string ToBinary() const;
    /** The bytes of the one buffer, as a file beside a .gltf would hold them. */
    const std::string& GetBuffer() const { return Bin; }

private:
    int AddView(const void* Data, size_t Size);
    int AddAccessor(int View, int ComponentType, size_t Count, const char* Type);

    std::string Bin;
};
