// SPDX-License-Identifier: MIT
// The two back-pressure scroll bars: positions to Pe/Po and back.
// Coarse bar: positions 1..100, Pe/Po from 1 down to 0.01 in steps of 0.01.
// Fine bar: positions 1..1000, Pe/Po from 1 down to 0.001 in steps of 0.001.
#pragma once

#include <string>

namespace cdnozzle {

inline constexpr int kCoarseMin = 1, kCoarseMax = 100;
inline constexpr int kFineMin = 1, kFineMax = 1000;

// (100 - v)/100 + 0.01, the integer difference converted exactly first.
double coarsePePo(int position);
// (1000 - v)/1000 + 0.001.
double finePePo(int position);
// What a bar moved to position writes into "Pe/Po =": its Pe/Po in the
// general format ("0.51", "0.995").
std::string coarseText(int position);
std::string fineText(int position);

// round(100 - 100 (Pe/Po - 0.01)), halves to even, kept within what a bar
// position can hold (-32768..32767) but not within the bar's range: the
// fine positions 997..1000 give 101, one past the coarse bar's end.
int coarsePositionFor(double pepo);
// round(1000 - 1000 (Pe/Po - 0.001)), halves to even, kept within what a
// bar position can hold, not within the bar's range.
int finePositionFor(double pepo);

} // namespace cdnozzle
