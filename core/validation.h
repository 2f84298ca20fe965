// The one check every front end makes before a calculation.
#pragma once

#include "flow_state.h"

#include <optional>
#include <string>

namespace cdnozzle {

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

// Returns nothing when the three texts can be calculated; otherwise one line
// that names the first box at fault, its accepted range and what it read,
// e.g.  Pe/Po = must be a number above 0 and at most 1 (got "1.2")
// The texts are read once, here: an accepted triple's numbers go to
// numbers when it is given, for the calculation to use.
std::optional<std::string> validateInputs(const InputTexts& texts, InputNumbers* numbers = nullptr);

// A ratio of specific heats "Other..." and --k accept: 1.05 to 1.7.
// Returns nothing, or the one-line refusal that names the accepted range.
std::optional<std::string> validateGasK(double k, const std::string& shown);

// A gas chosen by its name (the Gas list, a web address): one of kGases,
// spelled exactly. Returns nothing, or the one-line refusal that lists them.
std::optional<std::string> validateGasName(const std::string& name);

} // namespace cdnozzle
