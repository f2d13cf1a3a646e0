// The header tool: reads the reflection markers of one header and writes the source that
// registers its classes and enumerations with the object system.
//
//   VtHeaderTool <header> <output.gen.cpp> <include path of the header> <module name>

#include "CodeWriter.h"
#include "HeaderParser.h"
#include "Tokenizer.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
bool ReadFile(const char* Path, std::string& OutText)
{
    std::ifstream File(Path, std::ios::binary);
    if (!File)
    {
        return false;
    }
    std::ostringstream Buffer;
    Buffer << File.rdbuf();
    OutText = Buffer.str();
    return true;
}

/** Writes only when the text changed, so that unchanged headers cause no rebuild. */
bool WriteFileIfChanged(const char* Path, const std::string& Text)
{
    std::string Existing;
    if (ReadFile(Path, Existing) && Existing == Text)
    {
        return true;
    }
    std::ofstream File(Path, std::ios::binary | std::ios::trunc);
    File << Text;
    return static_cast<bool>(File);
}
} // namespace

int main(int ArgumentCount, char** Arguments)
{
    if (ArgumentCount != 5)
    {
        std::cerr << "usage: VtHeaderTool <header> <output> <include path> <module name>\n";
        return 2;
    }
    const char* HeaderPath = Arguments[1];
    std::string Source;
    if (!ReadFile(HeaderPath, Source))
    {
        std::cerr << HeaderPath << ": cannot read the header\n";
        return 1;
    }
    try
    {
        const HeaderTool::FReflectedHeader Header = HeaderTool::ParseHeader(HeaderTool::Tokenize(Source));
        const std::string Text = HeaderTool::WriteReflectionSource(Header, Arguments[3], Arguments[4]);
        if (!WriteFileIfChanged(Arguments[2], Text))
        {
            std::cerr << Arguments[2] << ": cannot write the reflection source\n";
            return 1;
        }
    }
    catch (const HeaderTool::FParseError& Error)
    {
        std::cerr << HeaderPath << ":" << Error.Line << ": error: " << Error.what() << "\n";
        return 1;
    }
    return 0;
}
