#include "validation.h"

#include "number_text.h"

#include <cfloat>
#include <cmath>

namespace cdnozzle {

namespace {

// The box text as the message quotes it: one line, not too long.
std::string quoted(const std::string& text)
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

} // namespace

std::optional<std::string> validateGasK(double k, const std::string& shown)
{
    if (k >= kMinK && k <= kMaxK) return std::nullopt;
    return "k must be a number from 1.05 to 1.7 " + quoted(shown);
}

std::optional<std::string> validateGasName(const std::string& name)
{
    if (findGas(name)) return std::nullopt;
    std::string names;
    for (const NamedGas& g : kGases) names += (names.empty() ? "" : ", ") + std::string(g.name);
    return "The gas must be one of " + names + " " + quoted(name);
}

std::optional<std::string> validateInputs(const InputTexts& texts, InputNumbers* numbers)
{
    const double me = readLeadingNumber(texts.me_sup);
    if (!(me >= kMeSupMin && me <= kMeSupMax)) {
        return "Me_Sup = must be a number from 1 to 100 " + quoted(texts.me_sup);
    }
    const double amax = readLeadingNumber(texts.amax);
    if (!(std::fabs(amax) <= kAmaxLimit) || amax == kAmaxFlat) {
        return "Amax/At = must be a number from -1000 to 1000, other than -0.1 " +
               quoted(texts.amax);
    }
    // Below the smallest normal double, 1/(Pe/Po) overflows.
    const double pepo = readLeadingNumber(texts.pe_po);
    if (!(pepo >= DBL_MIN && pepo <= 1)) {
        return "Pe/Po = must be a number above 0 and at most 1 " + quoted(texts.pe_po);
    }
    if (numbers) *numbers = {me, amax, pepo};
    return std::nullopt;
}

} // namespace cdnozzle
