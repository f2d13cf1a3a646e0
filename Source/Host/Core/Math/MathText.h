#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

/** Reading numbers back from the text forms the math types print. */
namespace VT::Math
{
/** Reads one decimal number, allowing surrounding blanks and a leading '+'. */
bool ParseNumber(std::string_view Text, double& OutValue);

/**
 * Reads "Label=Number" pairs such as "X=1.000 Y=2.000 Z=3.000", in any order. Every label must
 * start the text or follow a blank; OutValues receives the numbers in the order of Labels.
 * On failure OutValues may be partly written.
 */
bool ParseLabeledNumbers(std::string_view Text, std::initializer_list<std::string_view> Labels,
                         std::span<double> OutValues);

/** Reads exactly OutValues.size() numbers separated by Separator, such as "1.0,2.0,3.0". */
bool ParseNumberList(std::string_view Text, char Separator, std::span<double> OutValues);
} // namespace VT::Math
