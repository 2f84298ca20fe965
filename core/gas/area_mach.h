// SPDX-License-Identifier: MIT
// Inversion of the isentropic area relation: the Mach number that belongs to
// an area ratio, on the subsonic or the supersonic branch.
#pragma once

#include "gas/gas.h"

#include <functional>
#include <string>
#include <string_view>

namespace cdnozzle {

// The regime words that select the root.
inline constexpr std::string_view kSesAlti = "SesAltı"; // subsonic root
inline constexpr std::string_view kSesUstu = "SesÜstü"; // supersonic root

// The step limit of the inversion and the message shown when it runs out.
inline constexpr int kIterationLimit = 500;
std::string notConvergedMessage();

// Told when the inversion gives up; the caller shows the message (and may
// wait for the user) and the calculation then goes on with the last iterate.
using NotConvergedHandler = std::function<void(const std::string& message)>;

// Fixed-point inversion of
//   A/A_r = (Mr/M) * ((1 + (k-1)/2 M^2) / (1 + (k-1)/2 Mr^2)) ^ ((k+1)/(2(k-1)))
// starting from M = 1, stopping when two successive iterates differ by less
// than 0.00001 (the newer one is returned), at most 500 steps.
// rejim is compared byte for byte with kSesAlti and kSesUstu. When the steps
// run out, or rejim is neither word (then no step runs and the result is 1),
// notConverged is called with notConvergedMessage() (if it is set) and the
// last iterate is returned. With Mr = 1 and AAr >= 1 both branches stop within
// about 230 steps.
double M_iter(const Gas& s, double AAr, double Mr, std::string_view rejim,
              const NotConvergedHandler& notConverged);

// The Mach number whose isentropic area ratio A/A* is areaRatio (>= 1), on
// the subsonic or supersonic branch, to full double precision (safeguarded
// Newton steps inside a bracket, at most 200). 1 for areaRatio <= 1.
double machOfAreaRatio(const Gas& s, double areaRatio, bool supersonic);

// The subsonic Mach number whose isentropic area ratio equals that of the
// Mach number M >= 1: the exit Mach number of the just-choked subsonic flow
// through a nozzle designed for M. Solved on the logarithm of the area
// relation written with log1p, where nothing cancels next to Mach 1, so the
// result is within a few units in the last place for every M (1 at M = 1).
double subsonicTwinMach(const Gas& s, double M);

} // namespace cdnozzle
