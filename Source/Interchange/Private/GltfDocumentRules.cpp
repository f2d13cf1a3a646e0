#include "Interchange/Private/GltfDocumentRules.h"

#include "Interchange/Private/ImportLimits.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeFailure.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

using nlohmann::json;

namespace
{
constexpr int64 UnsignedByte = 5121;
constexpr int64 UnsignedShort = 5123;
constexpr int64 UnsignedInt = 5125;
constexpr int64 Float = 5126;
constexpr int64 Triangles = 4;
constexpr int64 MaxInteger = int64(1) << 53;

/** The element types and component types glTF allows for a vertex attribute. */
struct FAttributeRule
{
    const char* Prefix;
    bool bNumbered;
    const char* Types[2];
    /** Component types; a negative entry is an integer type that must be normalised. */
    int64 Components[3];
    const char* Allowed;
};

constexpr FAttributeRule AttributeRules[] = {
    {"POSITION", false, {"VEC3"}, {Float}, "VEC3 of floats"},
    {"NORMAL", false, {"VEC3"}, {Float}, "VEC3 of floats"},
    {"TANGENT", false, {"VEC4"}, {Float}, "VEC4 of floats"},
    {"TEXCOORD_",
     true,
     {"VEC2"},
     {Float, -UnsignedByte, -UnsignedShort},
     "VEC2 of floats or normalised unsigned integers"},
    {"COLOR_",
     true,
     {"VEC3", "VEC4"},
     {Float, -UnsignedByte, -UnsignedShort},
     "VEC3 or VEC4 of floats or normalised unsigned integers"},
    {"JOINTS_", true, {"VEC4"}, {UnsignedByte, UnsignedShort}, "VEC4 of unsigned bytes or shorts"},
    {"WEIGHTS_",
     true,
     {"VEC4"},
     {Float, -UnsignedByte, -UnsignedShort},
     "VEC4 of floats or normalised unsigned integers"},
};

constexpr FAttributeRule TargetRules[] = {
    {"POSITION", false, {"VEC3"}, {Float}, "VEC3 of floats"},
    {"NORMAL", false, {"VEC3"}, {Float}, "VEC3 of floats"},
    {"TANGENT", false, {"VEC3"}, {Float}, "VEC3 of floats"},
};

const FAttributeRule* FindRule(const std::string& Name, std::span<const FAttributeRule> Rules)
{
    for (const FAttributeRule& Rule : Rules)
    {
        if (Rule.bNumbered ? Name.starts_with(Rule.Prefix) : Name == Rule.Prefix)
        {
            return &Rule;
        }
    }
    return nullptr;
}

class FDocumentRules
{
public:
    FDocumentRules(const json& InDocument, TArray<FString>& InWarnings)
        : Document(InDocument), Warnings(InWarnings)
    {
    }

    void Check()
    {
        CheckExtrasNumbers(Document, false);
        CheckScenes();
        for (const json& Extension : List("extensionsUsed"))
        {
            if (Extension.is_string())
            {
                Warnings.Add("the file uses the extension " +
                             ImportedText::ForMessage(Extension.get<std::string>()) + ", which is not read");
            }
        }
        ForEach("buffers", "buffer",
                [&](int64, const FString& Owner, const json& Buffer) { CheckBuffer(Owner, Buffer); });
        ForEach("bufferViews", "buffer view",
                [&](int64, const FString& Owner, const json& View) { CheckView(Owner, View); });
        ForEach("accessors", "accessor",
                [&](int64, const FString& Owner, const json& Accessor) { CheckAccessor(Owner, Accessor); });
        CheckDatalessElements();
        ForEach("nodes", "node",
                [&](int64 Node, const FString& Owner, const json& Data)
                { CheckChildren(Node, Owner, Data); });
        ForEach("skins", "skin",
                [&](int64, const FString& Owner, const json& Skin) { CheckSkin(Owner, Skin); });
        const json& Meshes = List("meshes");
        for (size_t Mesh = 0; Mesh < Meshes.size(); ++Mesh)
        {
            CheckMesh(static_cast<int64>(Mesh), Object(Meshes[Mesh], FString::Printf("mesh %zu", Mesh)));
        }
    }

private:
    /**
     * The glTF library keeps whole numbers of extras as 32-bit integers, cutting off the high bits
     * silently; numbers that do not fit are refused instead. (Depth is bounded: the JSON was checked.)
     */
    static void CheckExtrasNumbers(const json& Value, bool bInExtras)
    {
        if (Value.is_object())
        {
            for (auto It = Value.begin(); It != Value.end(); ++It)
            {
                CheckExtrasNumbers(It.value(), bInExtras || It.key() == "extras");
            }
        }
        else if (Value.is_array())
        {
            for (const json& Item : Value)
            {
                CheckExtrasNumbers(Item, bInExtras);
            }
        }
        else if (bInExtras && Value.is_number_integer() &&
                 (Value.is_number_unsigned()
                      ? Value.get<uint64>() > uint64(INT32_MAX)
                      : Value.get<int64>() < INT32_MIN || Value.get<int64>() > INT32_MAX))
        {
            FailImport("malformed extras: the number %s does not fit a 32-bit integer",
                       *ImportedText::ForMessage(Value.dump()));
        }
    }

    /** A top-level array (an empty one when absent). */
    const json& List(const char* Key) const
    {
        static const json Empty = json::array();
        const auto Found = Document.find(Key);
        if (Found == Document.end())
        {
            return Empty;
        }
        if (!Found->is_array())
        {
            FailImport("malformed glTF: '%s' is not an array", Key);
        }
        return *Found;
    }

    static const json& Object(const json& Value, const FString& Owner)
    {
        if (!Value.is_object())
        {
            FailImport("%s is not a JSON object", *Owner);
        }
        return Value;
    }

    /** The object under Key of Value, which must have one. */
    static const json& Member(const json& Value, const char* Key, const FString& Owner)
    {
        const auto Found = Value.find(Key);
        if (Found == Value.end())
        {
            FailImport("%s has no %s", *Owner, Key);
        }
        return Object(*Found, Owner + "'s " + Key);
    }

    template <typename FunctionType>
    void ForEach(const char* Key, const char* Noun, FunctionType&& Check) const
    {
        const json& Items = List(Key);
        for (size_t Index = 0; Index < Items.size(); ++Index)
        {
            const FString Owner = FString::Printf("%s %zu", Noun, Index);
            Check(static_cast<int64>(Index), Owner, Object(Items[Index], Owner));
        }
    }

    int64 Count(const char* Key) const { return static_cast<int64>(List(Key).size()); }

    /** An integer property from Min to Max; Fallback when it is absent and not required. */
    static int64 Integer(const json& Object, const char* Key, const FString& Owner, int64 Min, int64 Max,
                         std::optional<int64> Fallback)
    {
        const auto Found = Object.find(Key);
        if (Found == Object.end())
        {
            if (!Fallback)
            {
                FailImport("%s has no %s", *Owner, Key);
            }
            return *Fallback;
        }
        const bool bInRange = Found->is_number_unsigned() ? Found->get<uint64>() <= static_cast<uint64>(Max)
                              : Found->is_number_integer()
                                  ? Found->get<int64>() >= Min && Found->get<int64>() <= Max
                                  : false;
        if (!bInRange ||
            (Found->is_number_unsigned() && Min > 0 && Found->get<uint64>() < static_cast<uint64>(Min)))
        {
            FailImport("%s has the %s %s; it must be a whole number from %lld to %lld", *Owner, Key,
                       *ImportedText::ForMessage(Found->dump()), static_cast<long long>(Min),
                       static_cast<long long>(Max));
        }
        return Found->get<int64>();
    }

    /** An index into the top-level array Target; Fallback (-1) when absent and not required. */
    int64 Reference(const json& Object, const char* Key, const FString& Owner, const char* Target,
                    const char* TargetNoun, bool bRequired = false) const
    {
        const int64 Index =
            Integer(Object, Key, Owner, 0, MaxInteger, bRequired ? std::nullopt : std::optional<int64>(-1));
        if (Index >= Count(Target))
        {
            FailImport("%s refers to %s %lld, which does not exist", *Owner, TargetNoun,
                       static_cast<long long>(Index));
        }
        return Index;
    }

    void CheckScenes() const
    {
        Reference(Document, "scene", "the document", "scenes", "scene");
        ForEach("scenes", "scene",
                [&](int64, const FString& Owner, const json& Scene)
                {
                    for (const json& Node : Scene.value("nodes", json::array()))
                    {
                        Reference(json{{"node", Node}}, "node", Owner, "nodes", "node", true);
                    }
                });
    }

    static void CheckBuffer(const FString& Owner, const json& Buffer)
    {
        Integer(Buffer, "byteLength", Owner, 1, MaxInteger, std::nullopt);
        if (Buffer.contains("uri") && !Buffer["uri"].is_string())
        {
            FailImport("%s has a uri that is not a string", *Owner);
        }
    }

    void CheckView(const FString& Owner, const json& View) const
    {
        Reference(View, "buffer", Owner, "buffers", "buffer", true);
        Integer(View, "byteOffset", Owner, 0, MaxInteger, 0);
        Integer(View, "byteLength", Owner, 1, MaxInteger, std::nullopt);
        if (Integer(View, "byteStride", Owner, 4, 252, 4) % 4 != 0)
        {
            FailImport("%s has a byteStride that is not a multiple of 4", *Owner);
        }
    }

    static void CheckAccessor(const FString& Owner, const json& Accessor)
    {
        Integer(Accessor, "byteOffset", Owner, 0, MaxInteger, 0);
        Integer(Accessor, "count", Owner, 1, MaxInteger, std::nullopt);
        if (!Accessor.contains("sparse"))
        {
            return;
        }
        const json& Sparse = Object(Accessor["sparse"], Owner + "'s sparse data");
        Integer(Sparse, "count", Owner + "'s sparse data", 1, MaxInteger, std::nullopt);
        for (const char* Part : {"indices", "values"})
        {
            const FString PartOwner = Owner + "'s sparse " + Part;
            Integer(Member(Sparse, Part, Owner + "'s sparse data"), "byteOffset", PartOwner, 0, MaxInteger,
                    0);
        }
    }

    /** Accessors without a buffer view cost memory but no file size: their total is bounded by the buffers.
     */
    void CheckDatalessElements() const
    {
        int64 BufferBytes = 0;
        for (const json& Buffer : List("buffers"))
        {
            BufferBytes = std::min(BufferBytes + Buffer.value("byteLength", int64(0)), MaxInteger);
        }
        int64 Dataless = 0;
        for (const json& Accessor : List("accessors"))
        {
            Dataless =
                std::min(Dataless + (Accessor.contains("bufferView") ? 0 : Accessor.value("count", int64(0))),
                         MaxInteger);
        }
        const int64 Allowed =
            ImportLimits::MaxDatalessElements + ImportLimits::DatalessElementsPerByte * BufferBytes;
        if (Dataless > Allowed)
        {
            FailImport("the accessors without a buffer view ask for %lld elements; a file with %lld bytes of "
                       "buffers "
                       "may ask for %lld",
                       static_cast<long long>(Dataless), static_cast<long long>(BufferBytes),
                       static_cast<long long>(Allowed));
        }
    }

    void CheckChildren(int64 Self, const FString& Owner, const json& Node) const
    {
        const json Children = Node.value("children", json::array());
        std::vector<bool> Seen;
        for (const json& Child : Children)
        {
            const int64 Index = Reference(json{{"child", Child}}, "child", Owner, "nodes", "node", true);
            if (Index == Self)
            {
                FailImport("%s is its own child", *Owner);
            }
            Seen.resize(static_cast<size_t>(Count("nodes")));
            if (Seen[Index])
            {
                FailImport("%s lists node %lld as a child more than once", *Owner,
                           static_cast<long long>(Index));
            }
            Seen[Index] = true;
        }
    }

    void CheckSkin(const FString& Owner, const json& Skin) const
    {
        const auto Joints = Skin.find("joints");
        if (Joints == Skin.end() || !Joints->is_array() || Joints->empty())
        {
            FailImport("%s has no joints", *Owner);
        }
        if (Joints->size() > static_cast<size_t>(ImportLimits::MaxJoints))
        {
            FailImport("%s has %zu joints, more than a mesh can be skinned to", *Owner, Joints->size());
        }
        std::vector<bool> Seen(static_cast<size_t>(Count("nodes")));
        for (const json& Joint : *Joints)
        {
            const int64 Node = Integer(json{{"joint", Joint}}, "joint", Owner, 0, MaxInteger, std::nullopt);
            if (Node < static_cast<int64>(Seen.size()) && Seen[Node])
            {
                FailImport("%s names node %lld as a joint more than once", *Owner,
                           static_cast<long long>(Node));
            }
            if (Node < static_cast<int64>(Seen.size()))
            {
                Seen[Node] = true;
            }
        }
    }

    void CheckMesh(int64 Mesh, const json& Data) const
    {
        const auto Primitives = Data.find("primitives");
        if (Primitives == Data.end() || !Primitives->is_array() || Primitives->empty())
        {
            FailImport("mesh %lld has no primitives", static_cast<long long>(Mesh));
        }
        std::optional<size_t> NumTargets;
        for (size_t Index = 0; Index < Primitives->size(); ++Index)
        {
            const FString Owner =
                FString::Printf("primitive %zu of mesh %lld", Index, static_cast<long long>(Mesh));
            const json& Primitive = Object((*Primitives)[Index], Owner);
            CheckPrimitive(Owner, Primitive);
            const size_t Targets = Primitive.value("targets", json::array()).size();
            if (NumTargets && *NumTargets != Targets)
            {
                FailImport(
                    "the primitives of mesh %lld have different numbers of morph targets (%zu and %zu)",
                    static_cast<long long>(Mesh), *NumTargets, Targets);
            }
            NumTargets = Targets;
        }
    }

    void CheckPrimitive(const FString& Owner, const json& Primitive) const
    {
        const json& Attributes = Member(Primitive, "attributes", Owner);
        for (auto It = Attributes.begin(); It != Attributes.end(); ++It)
        {
            CheckAttribute(Owner, It.key(), It.value(), AttributeRules);
            for (const auto& [Name, Partner] :
                 {std::pair{"JOINTS_", "WEIGHTS_"}, std::pair{"WEIGHTS_", "JOINTS_"}})
            {
                if (It.key().starts_with(Name) &&
                    !Attributes.contains(Partner + It.key().substr(std::strlen(Name))))
                {
                    FailImport("%s has %s without %s%s", *Owner, *ImportedText::ForMessage(It.key()), Partner,
                               It.key().substr(std::strlen(Name)).c_str());
                }
            }
        }
        for (const json& Target : Primitive.value("targets", json::array()))
        {
            const json& Checked = Object(Target, Owner + "'s morph target");
            for (auto It = Checked.begin(); It != Checked.end(); ++It)
            {
                CheckAttribute(Owner + "'s morph target", It.key(), It.value(), TargetRules);
            }
        }
        const int64 Mode = Integer(Primitive, "mode", Owner, 0, 6, Triangles);
        const int64 Indices = Reference(Primitive, "indices", Owner, "accessors", "accessor");
        if (Indices >= 0)
        {
            const json& Accessor = List("accessors")[Indices];
            if (Accessor.value("type", "") != "SCALAR" || Accessor.value("normalized", false) ||
                !IsOneOf(Accessor.value("componentType", 0), {UnsignedByte, UnsignedShort, UnsignedInt}))
            {
                FailImport("%s has indices that are not unsigned integers", *Owner);
            }
        }
        const int64 Corners = CountOf(Indices >= 0 ? Indices : AttributeAccessor(Attributes, "POSITION"));
        if (Mode == Triangles && Corners % 3 != 0)
        {
            FailImport("%s has %lld %s, which make no whole number of triangles", *Owner,
                       static_cast<long long>(Corners), Indices >= 0 ? "indices" : "vertices");
        }
    }

    static bool IsOneOf(int64 Value, std::initializer_list<int64> Values)
    {
        return std::find(Values.begin(), Values.end(), Value) != Values.end();
    }

    int64 AttributeAccessor(const json& Attributes, const char* Name) const
    {
        const auto Found = Attributes.find(Name);
        return Found != Attributes.end() && Found->is_number_integer() && Found->get<int64>() >= 0 &&
                       Found->get<int64>() < Count("accessors")
                   ? Found->get<int64>()
                   : -1;
    }

    int64 CountOf(int64 Accessor) const
    {
        return Accessor < 0 ? 0 : List("accessors")[Accessor].value("count", int64(0));
    }

    /** Accessors that do not exist are left to the readers, which name what they were read for. */
    void CheckAttribute(const FString& Owner, const std::string& Name, const json& Index,
                        std::span<const FAttributeRule> Rules) const
    {
        const FAttributeRule* Rule = FindRule(Name, Rules);
        if (!Rule || !Index.is_number_integer() || Index.get<int64>() < 0 ||
            Index.get<int64>() >= Count("accessors"))
        {
            return;
        }
        const json& Accessor = List("accessors")[Index.get<int64>()];
        const std::string Type = Accessor.value("type", "");
        const int64 Component = Accessor.value("componentType", int64(0));
        const bool bNormalized = Accessor.value("normalized", false);
        bool bTypeAllowed = false;
        for (const char* Allowed : Rule->Types)
        {
            bTypeAllowed = bTypeAllowed || (Allowed && Type == Allowed);
        }
        bool bComponentAllowed = false;
        for (const int64 Allowed : Rule->Components)
        {
            bComponentAllowed = bComponentAllowed || (Allowed != 0 && std::abs(Allowed) == Component &&
                                                      bNormalized == (Allowed < 0));
        }
        if (!bTypeAllowed || !bComponentAllowed)
        {
            FailImport("%s has a %s attribute that is not %s", *Owner, *ImportedText::ForMessage(Name),
                       Rule->Allowed);
        }
    }

    const json& Document;
    TArray<FString>& Warnings;
};
} // namespace

void CheckGltfDocument(const json& Document, TArray<FString>& OutWarnings)
{
    try
    {
        FDocumentRules(Document, OutWarnings).Check();
    }
    catch (const json::exception&)
    {
        FailImport("malformed glTF: a property has a value of the wrong type");
    }
}
