// SPDX-License-Identifier: MIT
// A sequence of user events from raw bytes, through the window's logic, as
// the window and the page drive it: box edits, bar moves, Calculate, the
// gas (k inside and outside its range), the third plot, play and its clock,
// hover and an opened scenario. After every event everything the user sees
// is checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace cdnozzle {

// Nothing when every event left finite numbers, texts without "nan" or
// "inf", bars inside their ranges and no failed iteration; otherwise what
// went wrong, with the event that did it.
std::optional<std::string> runWindowEvents(const std::uint8_t* data, std::size_t size);

} // namespace cdnozzle
