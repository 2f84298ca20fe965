// SPDX-License-Identifier: MIT
// The folder a run of numbered frames goes into: new, or one without
// frames, so that a video tool takes one run's pictures in order.
#pragma once

#include <string>

namespace cdnozzle {

// Makes the folder (and the folders on its way) unless it already holds
// frames ("frame-*.png") or cannot be made. Returns 0, or the exit status
// after one line on standard error: 2 when the folder holds frames, 1 when
// it cannot be read or made.
int prepareFramesFolder(const std::string& folder);

// The path of frame number (from 1) in the folder, zero-padded to at least
// four digits, or to the digits of the last frame's number.
std::string framePath(const std::string& folder, long number, long last);

} // namespace cdnozzle
