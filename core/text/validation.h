// SPDX-License-Identifier: MIT
// What the user types, and the one check every front end makes before a
// calculation: the accepted range of every input, and the one-line refusal
// that names the box and its range.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cdnozzle {

// The texts of the three input boxes, as the user typed them.
struct InputTexts {
    std::string me_sup = "2"; // "Me_Sup ="
    std::string amax = "3";   // "Amax/At ="
    std::string pe_po = "1";  // "Pe/Po ="
    bool operator==(const InputTexts&) const = default;
};

// The three box texts as numbers, read by the leading-number rule.
struct InputNumbers {
    double M_max = 0;  // "Me_Sup ="
    double AA_max = 0; // "Amax/At ="
    double PePo = 0;   // "Pe/Po ="
};
InputNumbers readInputs(const InputTexts& texts);

// Accepted ranges of the three boxes, as read by the leading-number rule.
// The upper limits keep every plot's grid a few hundred lines at most and
// every intermediate value of the calculation finite.
// A design Mach number below 1 folds the contour back over the convergent
// part and leaves the limit ratios bounding no regime; 1 is a convergent
// nozzle.
inline constexpr double kMeSupMin = 1;     // "Me_Sup =": from this ...
inline constexpr double kMeSupMax = 100;   // ... to this
inline constexpr double kAmaxLimit = 1000; // "Amax/At =": |value| at most this, not -0.1
inline constexpr double kAmaxFlat = -0.1;  // gives a geometry plot of zero height

// The ratio of specific heats of air, the program's gas, and the range of
// k that "Other..." and --k accept.
inline constexpr double kAirK = 1.4;
inline constexpr double kMinK = 1.05;
inline constexpr double kMaxK = 1.7;

// Returns nothing when the three texts can be calculated; otherwise one line
// that names the first box at fault, its accepted range and what it read,
// e.g.  Pe/Po = must be a number above 0 and at most 1 (got "1.2")
// The texts are read once, here: an accepted triple's numbers go to
// numbers when it is given, for the calculation to use.
std::optional<std::string> validateInputs(const InputTexts& texts, InputNumbers* numbers = nullptr);

// A ratio of specific heats "Other..." and --k accept: kMinK to kMaxK.
// Returns nothing, or the one-line refusal that names the accepted range.
std::optional<std::string> validateGasK(double k, const std::string& shown);

// What a refusal quotes of a text: (got "...") on one line, at most 24
// characters of it.
std::string quotedInput(std::string_view text);

} // namespace cdnozzle
