// SPDX-License-Identifier: MIT
#include "plots/palette.h"

#include "text/number_text.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

Rgb paletteColor(PaletteRole role)
{
    switch (role) {
    case PaletteRole::Grid: return {140, 140, 140};
    case PaletteRole::Foreground: return {0, 0, 0};
    case PaletteRole::Flow: return {0, 114, 178}; // Okabe-Ito blue
    case PaletteRole::Shock: return {213, 94, 0}; // Okabe-Ito vermillion
    case PaletteRole::Wave:
        return {0, 120,
                90}; // Okabe-Ito bluish green, darkened: the thrust plot draws I_sp beside F
    case PaletteRole::Limit: return {170, 51, 119}; // reddish purple, darkened
    case PaletteRole::Text: return {70, 70, 70};
    case PaletteRole::Caption: return {0, 0, 0};
    }
    return {0, 0, 0};
}

std::string_view paletteRoleName(PaletteRole role)
{
    switch (role) {
    case PaletteRole::Grid: return "grid";
    case PaletteRole::Foreground: return "foreground";
    case PaletteRole::Flow: return "flow";
    case PaletteRole::Shock: return "shock";
    case PaletteRole::Wave: return "expansion wave";
    case PaletteRole::Limit: return "limit (line and label)";
    case PaletteRole::Text: return "axis values, legend";
    case PaletteRole::Caption: return "caption";
    }
    return "";
}

bool paletteRoleIsText(PaletteRole role)
{
    return role == PaletteRole::Limit || role == PaletteRole::Text || role == PaletteRole::Caption;
}

std::string_view visionName(Vision vision)
{
    switch (vision) {
    case Vision::Normal: return "normal";
    case Vision::Deuteranopia: return "deuteranopia";
    case Vision::Protanopia: return "protanopia";
    case Vision::Tritanopia: return "tritanopia";
    }
    return "";
}

namespace {

double linear(std::uint8_t v)
{
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Machado, Oliveira and Fernandes (2009), severity 1.
constexpr double kDeuteranopia[3][3] = {{0.367322, 0.860646, -0.227968},
                                        {0.280085, 0.672501, 0.047413},
                                        {-0.011820, 0.042940, 0.968881}};
constexpr double kProtanopia[3][3] = {{0.152286, 1.052583, -0.204868},
                                      {0.114503, 0.786281, 0.099216},
                                      {-0.003882, -0.048116, 1.051998}};
constexpr double kTritanopia[3][3] = {{1.255528, -0.076749, -0.178779},
                                      {-0.078411, 0.930809, 0.147602},
                                      {0.004733, 0.691367, 0.303900}};

} // namespace

double relativeLuminance(Rgb color, Vision vision)
{
    double rgb[3] = {linear(color.r), linear(color.g), linear(color.b)};
    const double(*m)[3] = vision == Vision::Deuteranopia ? kDeuteranopia
                          : vision == Vision::Protanopia ? kProtanopia
                          : vision == Vision::Tritanopia ? kTritanopia
                                                         : nullptr;
    if (m) {
        double seen[3];
        for (int i = 0; i < 3; ++i)
            seen[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
        std::copy(seen, seen + 3, rgb);
    }
    return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
}

double contrastRatio(Rgb a, Rgb b, Vision vision)
{
    const double la = relativeLuminance(a, vision), lb = relativeLuminance(b, vision);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string hexColor(Rgb color)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "#";
    for (const std::uint8_t v : {color.r, color.g, color.b}) {
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

std::string contrastTable()
{
    auto pad = [](std::string text, std::size_t width) {
        std::size_t letters = 0;
        for (const char c : text) letters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (letters < width) text.append(width - letters, ' ');
        return text;
    };
    std::string out = "Contrast against the plot background " + hexColor(kPlotBackground) +
                      " (lines need 3 : 1, texts 4.5 : 1)\n";
    out += pad("role", 24) + pad("colour", 9) + pad("needs", 7);
    for (const Vision v : kVisions) out += pad(std::string(visionName(v)), 14);
    out += "\n";
    for (const PaletteRole role : kPaletteRoles) {
        const Rgb c = paletteColor(role);
        out += pad(std::string(paletteRoleName(role)), 24) + pad(hexColor(c), 9) +
               pad(paletteRoleIsText(role) ? "4.5" : "3", 7);
        for (const Vision v : kVisions)
            out += pad(formatFixed(contrastRatio(c, kPlotBackground, v), 2), 14);
        out += "\n";
    }
    return out;
}

} // namespace cdnozzle
