// SPDX-License-Identifier: MIT
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

std::optional<double> readStrictNumber(std::string_view text)
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

std::optional<double> readStrictNumberAllowingComma(std::string_view text)
{
    while (!text.empty() && isInnerBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isInnerBlank(text.back())) text.remove_suffix(1);
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find('.') != std::string_view::npos)
        return readStrictNumber(text);
    std::string withPoint(text);
    withPoint[comma] = '.';
    return readStrictNumber(withPoint);
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

namespace {

// The value with `decimals` decimals, trailing zeros and a bare point taken
// off, and no "-0".
std::string trimmedFixed(double value, int decimals)
{
    std::string text = formatFixed(value, decimals);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text;
}

// "6.446 × 10⁻¹¹": 4 significant figures and a power of ten in superscript.
std::string powerOfTen(double value)
{
    static const char* const superscript[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    const double rounded = roundSignificant(value, 4);
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    double mantissa = rounded / std::pow(10.0, exponent);
    if (std::fabs(mantissa) >= 9.9995) {
        mantissa /= 10;
        ++exponent;
    } else if (std::fabs(mantissa) < 0.99995) {
        mantissa *= 10;
        --exponent;
    }
    std::string text = trimmedFixed(mantissa, 3) + " × 10";
    if (exponent < 0) text += "⁻";
    for (char digit : std::to_string(std::abs(exponent))) text += superscript[digit - '0'];
    return text;
}

} // namespace

std::string formatRatio(double value)
{
    if (!std::isfinite(value)) return "—";
    const double magnitude = std::fabs(value);
    if (value == 0) return "0";
    if (magnitude < 0.0001) return powerOfTen(value);
    if (magnitude < 0.001) return trimmedFixed(roundSignificant(value, 4), 7);
    if (magnitude >= 1e6) return powerOfTen(value);
    std::string text = formatRounded4(value);
    if (magnitude == 1) return text;
    for (int decimals = 5; (text == "1" || text == "-1") && decimals <= 10; ++decimals)
        text = trimmedFixed(value, decimals);
    if (text == "1" || text == "-1") {
        const bool below = magnitude < 1;
        return std::string(value < 0 ? "-" : "") + (below ? "just below 1" : "just above 1");
    }
    return text;
}

std::string formatPercent(double share)
{
    if (!std::isfinite(share)) return "— %";
    const double p = share * 100;
    if (std::fabs(p) < 0.1) return formatRatio(p) + " %";
    std::string text = formatFixed(p, 1);
    if (p == 100) return text + " %";
    for (int decimals = 2; std::fabs(parseCDouble(text.c_str())) == 100 && decimals <= 6;
         ++decimals)
        text = formatFixed(p, decimals);
    if (std::fabs(parseCDouble(text.c_str())) == 100) return "nearly 100 %";
    return text + " %";
}

std::string formatAngle(double radians)
{
    if (!std::isfinite(radians)) return "—°";
    const double degrees = radians * 180 / std::numbers::pi;
    if (degrees == 0) return "0°";
    if (std::fabs(degrees) < 0.05) return formatRatio(degrees) + "°";
    return formatFixed(degrees, 1) + "°";
}

std::string formatBoxNumber(double value)
{
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";
    const double magnitude = std::fabs(value);
    if (magnitude >= 1000 && magnitude < 1e9) return formatGeneral(std::round(value));
    const double rounded = roundSignificant(value, 4);
    std::string text = formatGeneral(rounded);
    if (text.size() <= 9 && text.find('E') == std::string::npos) return text;
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 3);
    text.assign(buffer, result.ptr);
#else
    text = printfC("%.*e", 3, value);
#endif
    // "5.475e-05" -> "5.475E-05", "1.000e-05" -> "1E-05".
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    return mantissa + "E" + text.substr(e + 1);
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
