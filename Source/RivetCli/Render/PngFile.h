#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "RivetCli/Render/RenderImage.h"

/** The image as PNG bytes; the same image always gives the same bytes. */
TArray<uint8> EncodePng(const FRenderImage& Image);

/**
 * Writes the image as a PNG file, through a temporary file renamed into place. False with a message
 * naming the file when it cannot be written.
 */
bool WritePngFile(const FRenderImage& Image, const FString& Path, FString& OutError);
