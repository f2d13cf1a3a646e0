// The glTF library's code, compiled here with this project's compiler and settings rather than taken
// from a separately built shared library, so that the library's classes are laid out alike on both
// sides. The library target defines TINYGLTF_NO_STB_IMAGE and TINYGLTF_NO_STB_IMAGE_WRITE for every unit:
// images are never decoded or encoded (the importer ignores textures, the exporter writes none).
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
