#include "number_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace cdnozzle {

namespace {

bool isInnerBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod in the "C" locale: a GUI process runs with the user's locale, where
// the decimal point may be a comma.
double parseCDouble(const char* text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text, nullptr, cLocale);
}

} // namespace

double readLeadingNumber(std::string_view text)
{
    std::string number;
    number.reserve(32);
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isInnerBlank(text[i])) ++i;
    };

    skipBlanks();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number.push_back('-');
        ++i;
    }
    bool haveDigits = false;
    bool havePoint = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            number.push_back(c);
            haveDigits = true;
        } else if (c == '.' && !havePoint) {
            number.push_back('.');
            havePoint = true;
        } else if (!isInnerBlank(c)) {
            break;
        }
    }
    if (!haveDigits) return 0.0;

    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        skipBlanks();
        std::string exponent = "e";
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            exponent.push_back(text[i]);
            ++i;
        }
        bool haveExponentDigits = false;
        for (; i < n; ++i) {
            const char c = text[i];
            if (isDigit(c)) {
                exponent.push_back(c);
                haveExponentDigits = true;
            } else if (!isInnerBlank(c)) {
                break;
            }
        }
        if (haveExponentDigits) number += exponent;
    }
    return parseCDouble(number.c_str());
}

std::string formatGeneral(double value)
{
    if (value == 0) return "0"; // also negative zero
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

double roundHalfEven4(double value)
{
    if (!std::isfinite(value)) return value;
    // to_chars works from the exact binary value and breaks exact ties to
    // even, so only a value that is truly halfway goes to the even digit.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, 4);
    *result.ptr = '\0';
    return parseCDouble(buffer);
}

std::string formatRounded4(double value)
{
    return formatGeneral(roundHalfEven4(value));
}

} // namespace cdnozzle

namespace cdnozzle {

std::string formatRoundTrip(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

} // namespace cdnozzle
