#include "FuzzSupport/RivetExtrasPlacement.h"

namespace
{
/** The glTF document is shallow: its objects sit in the top-level arrays. */
void CollectFrom(const nlohmann::json& Value, const nlohmann::json::json_pointer& At, nlohmann::json& Out)
{
    if (Value.is_object())
    {
        const auto Extras = Value.find("extras");
        if (Extras != Value.end() && Extras->is_object() && Extras->contains("rivet"))
        {
            Out[At.to_string()] = (*Extras)["rivet"];
        }
        for (const auto& [Key, Member] : Value.items())
        {
            if (Key != "extras")
            {
                CollectFrom(Member, At / Key, Out);
            }
        }
    }
    else if (Value.is_array())
    {
        for (size_t Index = 0; Index < Value.size(); ++Index)
        {
            CollectFrom(Value[Index], At / Index, Out);
        }
    }
}
} // namespace

nlohmann::json CollectRivetExtras(const nlohmann::json& Document)
{
    nlohmann::json Out = nlohmann::json::object();
    CollectFrom(Document, nlohmann::json::json_pointer(), Out);
    return Out;
}

bool PlaceRivetExtras(nlohmann::json& Document, const nlohmann::json& Placement)
{
    if (!Placement.is_object())
    {
        return false;
    }
    for (const auto& [Pointer, Extras] : Placement.items())
    {
        try
        {
            nlohmann::json& Object = Document.at(nlohmann::json::json_pointer(Pointer));
            if (!Object.is_object())
            {
                return false;
            }
            Object["extras"]["rivet"] = Extras;
        }
        catch (const nlohmann::json::exception&)
        {
            return false;
        }
    }
    return true;
}
