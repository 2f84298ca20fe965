// SPDX-License-Identifier: MIT
// The window-logic fuzz target's checks on a fixed set of pseudo-random
// event sequences, so the target's body keeps building and the sequences it
// once passed keep passing in every build (make fuzz explores further).
#include "window_events.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace cdnozzle {

TEST(WindowEvents, RandomSequencesLeaveEverythingShownFinite)
{
    std::mt19937 random(20261209);
    for (int run = 0; run < 300; ++run) {
        std::vector<std::uint8_t> bytes(random() % 300);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        const auto finding = runWindowEvents(bytes.data(), bytes.size());
        ASSERT_FALSE(finding) << "run " << run << ": " << *finding;
    }
}

} // namespace cdnozzle
