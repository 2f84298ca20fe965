#include "text/number_text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <numbers>

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

locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

// strtod in the "C" locale: a GUI process runs with the user's locale, where
// the decimal point may be a comma.
double parseCDouble(const char* text)
{
    return strtod_l(text, nullptr, cLocale());
}

#if !(defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L)
// Standard libraries without floating-point to_chars (the WebAssembly
// build's): printf in the "C" locale, which also works from the exact binary
// value and gives the same digits.
std::string printfC(const char* format, int precision, double value)
{
    const locale_t previous = uselocale(cLocale());
    char buffer[400];
    const int n = std::snprintf(buffer, sizeof buffer, format, precision, value);
    uselocale(previous);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, 399)));
}
#endif

} // namespace

std::string formatFixed(double value, int decimals)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
#else
    return printfC("%.*f", decimals, value);
#endif
}

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

std::optional<double> readWholeNumber(std::string_view text)
{
    std::string number(text);
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < number.size() && isDigit(number[i])) ++i;
        return i - start;
    };
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < number.size() && number[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    if (i < number.size() && std::string_view("EeDd").find(number[i]) != std::string_view::npos) {
        number[i++] = 'e';
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != number.size()) return std::nullopt;
    return parseCDouble(number.c_str());
}

std::optional<double> readWholeNumberAllowingComma(std::string_view text)
{
    while (!text.empty() && isInnerBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isInnerBlank(text.back())) text.remove_suffix(1);
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find('.') != std::string_view::npos)
        return readWholeNumber(text);
    std::string withPoint(text);
    withPoint[comma] = '.';
    return readWholeNumber(withPoint);
}

std::string formatGeneral(double value)
{
    if (value == 0) return "0"; // also negative zero
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
#else
    std::string text = printfC("%.*g", 15, value);
#endif
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
    return parseCDouble(formatFixed(value, 4).c_str());
}

std::string formatDegrees(double radians)
{
    return formatFixed(radians * 180 / std::numbers::pi, 1) + "°";
}

std::string formatRounded4(double value)
{
    return formatGeneral(roundHalfEven4(value));
}

double roundSignificant(double value, int digits)
{
    if (value == 0 || !std::isfinite(value)) return value;
    digits = std::clamp(digits, 1, 17);
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, digits - 1);
    const std::string text(buffer, result.ptr);
#else
    const std::string text = printfC("%.*e", digits - 1, value);
#endif
    return parseCDouble(text.c_str());
}

std::string formatShown(double value)
{
    if (value == 0 || !(std::fabs(value) < 0.001)) return formatRounded4(value);
    return formatGeneral(roundSignificant(value, 4));
}

std::string formatRoundTrip(double value)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
#else
    if (!std::isfinite(value)) return std::isnan(value) ? "nan" : value < 0 ? "-inf" : "inf";
    // The fewest significant digits that read back as the same double, then
    // the shorter of the fixed and the scientific form, as to_chars does.
    // A double that some decimal of at most 15 digits reads back as is that
    // decimal rounded to 15 digits (its error is below half the 15-digit
    // spacing), trailing zeros and all: so 15, 16 and 17 digits are all
    // there is to try.
    std::string scientific;
    for (int digits = 15; digits <= 17; ++digits) {
        scientific = printfC("%.*e", digits - 1, value);
        if (parseCDouble(scientific.c_str()) == value) break;
    }
    const std::size_t e = scientific.find('e');
    std::string mantissa = scientific.substr(0, e);
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    const bool negative = mantissa[0] == '-';
    std::string digits;
    for (char c : mantissa) {
        if (isDigit(c)) digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string sci = digits.substr(0, 1);
    if (digits.size() > 1) sci += "." + digits.substr(1);
    char exp[8];
    std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    sci += exp;
    std::string fixed;
    const int point = exponent + 1; // digits before the decimal point
    if (point <= 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (static_cast<std::size_t>(point) >= digits.size()) {
        fixed = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    } else {
        fixed = digits.substr(0, static_cast<std::size_t>(point)) + "." +
                digits.substr(static_cast<std::size_t>(point));
    }
    const std::string& shorter = sci.size() < fixed.size() ? sci : fixed;
    return (negative ? "-" : "") + shorter;
#endif
}

} // namespace cdnozzle
