#pragma once

#include "Core/Containers/String.h"
#include "Support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

/** What one run of `rivet` printed and returned. */
struct FCliRun
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

/** Runs `rivet` in this process on the arguments, as the program would. */
FCliRun RunCli(const std::vector<std::string>& Args);

/** The LOD 0 triangles of the skeletal mesh in a file; -1 when the file cannot be read. */
int32 CountFileTriangles(const FString& Path);

/**
 * A temporary folder holding the test character as "character.glb" (48 triangles in the slots
 * Slot_0 to Slot_2, 16 each; bones Root, Spine, Arm, Head; the animation) and a script writer.
 */
class CliTest : public testing::Test
{
protected:
    void SetUp() override;

    std::string Path(const char* Name) const { return Folder.File(Name).ToStdString(); }
    /** Writes a script into the folder and returns its path. */
    std::string WriteScript(const char* Name, const std::string& Text) const;

    FTestFolder Folder;
    std::string Character;
};
