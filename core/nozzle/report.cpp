// SPDX-License-Identifier: MIT
#include "nozzle/report.h"

#include "text/number_text.h"

namespace cdnozzle {

void Report::append(std::string_view label, double value)
{
    if (count_ >= kCapacity) return;
    labels_[static_cast<std::size_t>(count_)] = label;
    std::string& line = lines_[static_cast<std::size_t>(count_++)];
    line.assign(label);
    line += formatRounded4(value);
}

std::vector<std::string> Report::lines() const
{
    return {lines_.begin(), lines_.begin() + count_};
}

} // namespace cdnozzle
