#pragma once

#include <nlohmann/json.hpp>

#include <string>

/** A JSON value as report text: a string as its characters, anything else as JSON. */
inline std::string JsonText(const nlohmann::json& Value)
{
    return Value.is_string() ? Value.get<std::string>() : Value.dump();
}
