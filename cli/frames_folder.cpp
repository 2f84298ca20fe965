// SPDX-License-Identifier: MIT
#include "frames_folder.h"

#include "io/file_output.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace cdnozzle {

int prepareFramesFolder(const std::string& folder)
{
    constexpr int kWriteFailed = 1, kRefused = 2;
    // Nothing is made through a link the frames' own saves would refuse.
    if (const auto refusal = foreignLinkInSharedFolder(folder)) {
        std::cerr << "cdnozzle-report: could not make the folder " << folder << ": " << *refusal
                  << '\n';
        return kWriteFailed;
    }
    // Frames of an earlier run would mix with this one's in a video.
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with("frame-") && name.ends_with(".png")) {
            std::cerr << "cdnozzle-report: the folder " << folder << " already holds frames ("
                      << name << "); give an empty or new folder\n";
            return kRefused;
        }
    }
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
        std::cerr << "cdnozzle-report: could not read the folder " << folder << ": "
                  << errorText(ec.value()) << '\n';
        return kWriteFailed;
    }
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::cerr << "cdnozzle-report: could not make the folder " << folder << ": "
                  << errorText(ec.value()) << '\n';
        return kWriteFailed;
    }
    return 0;
}

std::string framePath(const std::string& folder, long number, long last)
{
    const std::size_t digits = std::max<std::size_t>(4, std::to_string(last).size());
    std::string n = std::to_string(number);
    if (n.size() < digits) n.insert(0, digits - n.size(), '0');
    return (std::filesystem::path(folder) / ("frame-" + n + ".png")).string();
}

} // namespace cdnozzle
