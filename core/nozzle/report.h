// SPDX-License-Identifier: MIT
// The lines of the list box: six geometry lines, then the two shock lines of
// the shock stage. Fixed capacity, so a recalculation reuses its storage.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cdnozzle {

class Report {
  public:
    static constexpr int kCapacity = 8;

    void clear() { count_ = 0; }
    // Appends label + value rounded to 4 decimal places in the general format.
    // A line beyond the capacity is dropped (no calculation writes one). The
    // label is a literal: the line keeps it, to be told what it means.
    void append(std::string_view label, double value);

    int size() const { return count_; }
    const std::string& operator[](int i) const { return lines_[static_cast<std::size_t>(i)]; }
    std::vector<std::string> lines() const;
    // The label line i was appended with ("Pe/Po sesaltı limit=").
    std::string_view label(int i) const { return labels_[static_cast<std::size_t>(i)]; }

    bool operator==(const Report& other) const { return lines() == other.lines(); }

  private:
    std::array<std::string, kCapacity> lines_{};
    std::array<std::string_view, kCapacity> labels_{};
    int count_ = 0;
};

} // namespace cdnozzle
