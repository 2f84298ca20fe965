// SPDX-License-Identifier: MIT
// The plots' colours, chosen once for every painter: hues of the Okabe-Ito
// palette (told apart by the three common colour-vision deficiencies),
// darkened where the plot's light yellow needs it, so that every line
// stands at least 3 : 1 and every text at least 4.5 : 1 against the
// background, also as deuteranopic, protanopic and tritanopic eyes see
// them. Colour is never the only cue: the limit flows are dashed and a
// shock is drawn heavier than the flow it interrupts.
#pragma once

#include "plots/plot_scene.h"

#include <string>
#include <string_view>
#include <vector>

namespace cdnozzle {

// What a colour of the plots stands for.
enum class PaletteRole {
    Grid,       // the grid behind the curves
    Foreground, // the walls, the axes, the throat line, the back pressure
    Flow,       // the flow of the moment
    Shock,      // a shock: the jump of a curve, a shock in the contour
    Wave,       // an expansion wave at the exit
    Limit,      // the limit flows behind the flow, and their labels
    Text,       // the values on the axes, the axes' names, the legend
    Caption,    // a plot's caption
};

inline constexpr PaletteRole kPaletteRoles[] = {
    PaletteRole::Grid, PaletteRole::Foreground, PaletteRole::Flow, PaletteRole::Shock,
    PaletteRole::Wave, PaletteRole::Limit,      PaletteRole::Text, PaletteRole::Caption};

Rgb paletteColor(PaletteRole role);
// "grid", "foreground", ...
std::string_view paletteRoleName(PaletteRole role);
// True for the roles drawn as text (the 4.5 : 1 rule), false for lines (3 : 1).
bool paletteRoleIsText(PaletteRole role);

// How an eye sees colours: as most do, or with one of the three
// dichromacies, simulated by the severity-1 matrices of Machado, Oliveira
// and Fernandes (2009) applied in linear RGB.
enum class Vision { Normal, Deuteranopia, Protanopia, Tritanopia };
inline constexpr Vision kVisions[] = {Vision::Normal, Vision::Deuteranopia, Vision::Protanopia,
                                      Vision::Tritanopia};
std::string_view visionName(Vision vision);

// WCAG 2 relative luminance of a colour as that eye sees it (0 to 1).
double relativeLuminance(Rgb color, Vision vision = Vision::Normal);
// WCAG 2 contrast ratio of two colours as that eye sees them (1 to 21).
double contrastRatio(Rgb a, Rgb b, Vision vision = Vision::Normal);
// A colour as CSS and SVG write it: "#0072b2".
std::string hexColor(Rgb color);

// The contrast of every role's colour against the plot background, for
// each eye, as a table in plain text (one row a role).
std::string contrastTable();

} // namespace cdnozzle
