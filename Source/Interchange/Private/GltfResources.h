#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <nlohmann/json.hpp>
#include <string>
#include <tiny_gltf.h>

/**
 * The only files a glTF document may make the reader open. A buffer's uri is read when it is a
 * base64 data: URI, or a relative file name that, percent-decoded, normalised and with its symbolic
 * links resolved, names a regular file inside the folder of the document, holding exactly the
 * buffer's byteLength bytes. Every other buffer uri refuses the document. Image URIs are replaced
 * before the glTF library sees the document, so image files are never opened (images are not decoded).
 */
class FGltfResources
{
public:
    /**
     * Checks the buffers of Document, the parsed JSON of the file at Path, by opening their files
     * without blocking. Throws FInterchangeFailure naming the buffer and the problem.
     */
    FGltfResources(const nlohmann::json& Document, const FString& Path);

    /** The folder the glTF library reads the checked buffer files from (empty when there are none). */
    const std::string& GetFolder() const { return Folder; }

    /**
     * Replaces every image uri that is not a data: URI by an empty image, so the library opens no
     * image file. True when Document was changed.
     */
    static bool ReplaceImageFiles(nlohmann::json& Document);

private:
    void CheckBuffer(int32 Index, const nlohmann::json& Buffer);

    std::string Folder;
    int32 NumExternalBuffers = 0;
};
