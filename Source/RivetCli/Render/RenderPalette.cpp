#include "RivetCli/Render/RenderPalette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
constexpr std::array<FRenderColor, 12> SlotColors = {{
    {86, 140, 205},
    {225, 110, 80},
    {110, 180, 100},
    {170, 110, 190},
    {80, 180, 180},
    {205, 120, 160},
    {150, 120, 80},
    {130, 130, 130},
    {100, 100, 200},
    {190, 160, 110},
    {90, 150, 120},
    {200, 80, 100},
}};

constexpr FRenderColor HeatLow{40, 70, 220};
constexpr FRenderColor HeatMiddle{120, 200, 110};
constexpr FRenderColor HeatHigh{230, 50, 40};

FRenderColor FromHue(double Hue)
{
    const double Saturation = 0.55;
    const double Value = 0.88;
    const double Sector = Hue * 6.0;
    const int32 Index = static_cast<int32>(Sector) % 6;
    const double Fraction = Sector - std::floor(Sector);
    const double P = Value * (1.0 - Saturation);
    const double Q = Value * (1.0 - Saturation * Fraction);
    const double T = Value * (1.0 - Saturation * (1.0 - Fraction));
    const std::array<std::array<double, 3>, 6> Table = {
        {{Value, T, P}, {Q, Value, P}, {P, Value, T}, {P, Q, Value}, {T, P, Value}, {Value, P, Q}}};
    const auto Channel = [](double Unit)
    {
        return static_cast<uint8>(std::lround(Unit * 255.0));
    };
    return {Channel(Table[Index][0]), Channel(Table[Index][1]), Channel(Table[Index][2])};
}
} // namespace

FRenderColor RenderPalette::SlotColor(int32 Slot)
{
    return SlotColors[static_cast<size_t>(std::max(Slot, 0)) % SlotColors.size()];
}

FRenderColor RenderPalette::IslandColor(int32 Island)
{
    // Steps of the golden ratio keep neighbouring indices far apart in hue.
    const double Hue = std::fmod(0.1 + std::max(Island, 0) * 0.6180339887498949, 1.0);
    return FromHue(Hue);
}

FRenderColor RenderPalette::HeatColor(double Weight)
{
    const double Clamped = std::isfinite(Weight) ? std::clamp(Weight, 0.0, 1.0) : 0.0;
    return Clamped < 0.5 ? HeatLow.Lerp(HeatMiddle, Clamped * 2.0)
                         : HeatMiddle.Lerp(HeatHigh, Clamped * 2.0 - 1.0);
}
