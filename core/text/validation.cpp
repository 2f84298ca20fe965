// SPDX-License-Identifier: MIT
#include "text/validation.h"

#include "text/number_text.h"

#include <cfloat>
#include <cmath>

namespace cdnozzle {

std::string quotedInput(std::string_view text)
{
    constexpr std::size_t kMaxShown = 24;
    std::string shown;
    for (char c : text) {
        if (shown.size() >= kMaxShown) {
            shown += "...";
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        shown.push_back(u < 0x20 || u == 0x7f ? ' ' : c);
    }
    return "(got \"" + shown + "\")";
}

namespace {

std::string range(double from, double to)
{
    return "a number from " + formatGeneral(from) + " to " + formatGeneral(to);
}

} // namespace

InputNumbers readInputs(const InputTexts& texts)
{
    return {readLeadingNumber(texts.me_sup), readLeadingNumber(texts.amax),
            readLeadingNumber(texts.pe_po)};
}

std::optional<std::string> validateGasK(double k, const std::string& shown)
{
    if (k >= kMinK && k <= kMaxK) return std::nullopt;
    return "k must be " + range(kMinK, kMaxK) + " " + quotedInput(shown);
}

namespace {

// A control character other than the tab and the line feed the
// leading-number rule skips: a text that carries one (a link's "%01") would
// carry it into the pictures and files that show the boxes.
bool hasControlCharacter(std::string_view text)
{
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n') || u == 0x7f) return true;
    }
    return false;
}

std::string withoutControls(const std::string& range, std::string_view text)
{
    return range + (hasControlCharacter(text) ? ", with no control character " : " ") +
           quotedInput(text);
}

} // namespace

std::optional<std::string> validateInputs(const InputTexts& texts, InputNumbers* numbers)
{
    const double me = readLeadingNumber(texts.me_sup);
    if (!(me >= kMeSupMin && me <= kMeSupMax) || hasControlCharacter(texts.me_sup)) {
        return withoutControls("Me_Sup = must be " + range(kMeSupMin, kMeSupMax), texts.me_sup);
    }
    const double amax = readLeadingNumber(texts.amax);
    if (!(std::fabs(amax) <= kAmaxLimit) || amax == kAmaxFlat || hasControlCharacter(texts.amax)) {
        return withoutControls("Amax/At = must be " + range(-kAmaxLimit, kAmaxLimit) +
                                   ", other than " + formatGeneral(kAmaxFlat),
                               texts.amax);
    }
    // Below the smallest normal double, 1/(Pe/Po) overflows.
    const double pepo = readLeadingNumber(texts.pe_po);
    if (!(pepo >= DBL_MIN && pepo <= 1) || hasControlCharacter(texts.pe_po)) {
        return withoutControls("Pe/Po = must be a number above 0 and at most 1", texts.pe_po);
    }
    if (numbers) *numbers = {me, amax, pepo};
    return std::nullopt;
}

} // namespace cdnozzle
