// SPDX-License-Identifier: MIT
// libFuzzer: arbitrary bytes as a sequence of user events through the
// window's logic; any crash, sanitizer report or failed check is a finding.
#include "window_events.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const auto finding = cdnozzle::runWindowEvents(data, size)) {
        std::fprintf(stderr, "finding: %s\n", finding->c_str());
        std::abort();
    }
    return 0;
}
