#include "CodeWriter.h"

#include <sstream>

namespace HeaderTool
{
namespace
{
std::string WriteMetaData(const FMarkerArguments& Arguments)
{
    std::string Text = "FMetaData{";
    for (size_t Index = 0; Index < Arguments.MetaData.size(); ++Index)
    {
        const auto& [Key, Value] = Arguments.MetaData[Index];
        Text += (Index ? ", {\"" : "{\"") + Key + "\", " + Value + "}";
    }
    return Text + "}";
}

std::string PropertyFlags(const FMarkerArguments& Arguments)
{
    if (Arguments.HasSpecifier("EditAnywhere"))
    {
        return "EPropertyFlags::Edit";
    }
    if (Arguments.HasSpecifier("VisibleAnywhere"))
    {
        return "EPropertyFlags::VisibleOnly";
    }
    return "EPropertyFlags::None";
}

void WriteClass(std::ostringstream& Out, const FReflectedClass& Class, const std::string& ModuleName)
{
    const std::string Registrar = "VTReflection_" + Class.Name;
    Out << "struct " << Registrar << "\n{\n    static void Fill(UClass& Class)\n    {\n";
    Out << "        Class.SetMetaData(" << WriteMetaData(Class.Arguments) << ");\n";
    for (const FReflectedProperty& Property : Class.Properties)
    {
        Out << "        VT::Reflection::AddProperty(Class, &" << Class.Name << "::" << Property.Name << ", \""
            << Property.Name << "\", " << PropertyFlags(Property.Arguments) << ", "
            << WriteMetaData(Property.Arguments) << ");\n";
    }
    for (const FReflectedFunction& Function : Class.Functions)
    {
        Out << "        VT::Reflection::AddFunction<&" << Class.Name << "::" << Function.Name << ">(Class, \""
            << Function.Name << "\", " << WriteMetaData(Function.Arguments) << ");\n";
    }
    Out << "    }\n};\n\n";
    const char* Flags =
        Class.Arguments.HasSpecifier("Abstract") ? "EClassFlags::Abstract" : "EClassFlags::None";
    Out << "UClass* " << Class.Name << "::StaticClass()\n{\n"
        << "    static UClass* const Class = VT::Reflection::ConstructClassFor<" << Class.Name << ">(\""
        << Class.Name << "\", \"" << ModuleName << "\", " << Flags << ", &" << Registrar << "::Fill);\n"
        << "    return Class;\n}\n\n"
        << "namespace\n{\nconst VT::Reflection::FAutoRegisterClass VTAutoRegister_" << Class.Name << "(&"
        << Class.Name << "::StaticClass);\n}\n\n";
}

void WriteEnum(std::ostringstream& Out, const FReflectedEnum& Enum, const std::string& ModuleName)
{
    Out << "UEnum* StaticEnumOf(" << Enum.Name << ")\n{\n"
        << "    static UEnum* const Enum = new UEnum(FName(\"" << Enum.Name << "\"), \"/Script/" << ModuleName
        << "\",\n        {\n";
    for (const FReflectedEnumEntry& Entry : Enum.Entries)
    {
        Out << "            {FName(\"" << Entry.Name << "\"), static_cast<int64>(" << Enum.Name
            << "::" << Entry.Name << "), " << WriteMetaData(Entry.Arguments) << "},\n";
    }
    Out << "        },\n        " << WriteMetaData(Enum.Arguments) << ");\n    return Enum;\n}\n\n";
}
} // namespace

std::string WriteReflectionSource(const FReflectedHeader& Header, const std::string& IncludePath,
                                  const std::string& ModuleName)
{
    std::ostringstream Out;
    Out << "// Reflection data written by the header tool from " << IncludePath << ". Do not edit.\n\n"
        << "#include \"" << IncludePath << "\"\n\n"
        << "#include \"CoreUObject/Reflection/Registration.h\"\n\n";
    for (const FReflectedEnum& Enum : Header.Enums)
    {
        WriteEnum(Out, Enum, ModuleName);
    }
    for (const FReflectedClass& Class : Header.Classes)
    {
        WriteClass(Out, Class, ModuleName);
    }
    return Out.str();
}
} // namespace HeaderTool
