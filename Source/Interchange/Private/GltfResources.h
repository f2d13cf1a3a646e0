#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Interchange/Private/RegularFile.h"

#include <nlohmann/json.hpp>
#include <string>
#include <tiny_gltf.h>

/**
 * The only files a glTF document may make the reader open. A buffer's uri is read when it is a
 * base64 data: URI, or a relative file name that, percent-decoded, normalised and with its symbolic
 * links resolved, names a regular file inside the folder of the document. Such a file is opened
 * without blocking, must hold at least the buffer's byteLength bytes, and exactly that many are read.
 * Every other buffer uri refuses the document. Image files are never opened: images are not decoded.
 */
class FGltfResources
{
public:
    /**
     * Checks the buffers of Document, the parsed JSON of the file at Path, and opens their files.
     * Throws FInterchangeFailure naming the buffer and the problem.
     */
    FGltfResources(const nlohmann::json& Document, const FString& Path, TArray<FString>& OutWarnings);

    /** File callbacks for the glTF library, reading only the files opened here. Keep this object alive. */
    tinygltf::FsCallbacks MakeCallbacks();

private:
    struct FExternalBuffer
    {
        /** The uri as the glTF library decodes it, which is what it asks the callbacks for. */
        std::string DecodedUri;
        FRegularFile File;
        size_t ByteLength = 0;
        bool bRead = false;
    };

    void AddBuffer(int32 Index, const nlohmann::json& Buffer, const std::filesystem::path& Folder,
                   TArray<FString>& OutWarnings);
    static bool ReadWholeFile(std::vector<unsigned char>* Out, std::string* Error, const std::string& Path,
                              void* Self);

    TArray<FExternalBuffer> Buffers;
};
