// SPDX-License-Identifier: MIT
// Names of parameterised test cases that read as what they check, the same
// on every build: ctest -N lists them instead of the bytes of a parameter.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace cdnozzle::test {

// Text as a test name: letters and digits kept, "." and blanks as "_",
// signs and other characters spelled out ("-0.5" -> "minus0_5", "" ->
// "empty").
inline std::string caseName(std::string_view text)
{
    if (text.empty()) return "empty";
    std::string name;
    auto add = [&](std::string_view part) {
        if (part == "_" && (name.empty() || name.back() == '_')) return;
        name += part;
    };
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            name += c;
        } else if (c == '-') {
            add("minus");
        } else if (c == '+') {
            add("plus");
        } else if (c == ',') {
            add("comma");
        } else if (c == '.' || c == ' ' || c == '/' || c == '=' || c == ':' || c == '_') {
            add("_");
        } else if (c == '\t') {
            add("tab");
        } else if (c == '\n') {
            add("newline");
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "x%02X", u);
            add(hex);
        }
    }
    return name;
}

} // namespace cdnozzle::test
