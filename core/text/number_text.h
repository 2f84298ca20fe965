// SPDX-License-Identifier: MIT
// The number rules shared by every box and every report line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cdnozzle {

// Text to number, the leading-number rule: leading blanks, tabs and line
// feeds are skipped; then an optional sign, digits with at most one "." and
// an optional exponent ("E", "e", "D" or "d", optional sign, digits) are
// taken, skipping blanks, tabs and line feeds inside the number. The first
// other character ends the number. A text without a leading number gives 0.
// Never fails: an exponent beyond the double range gives +-infinity or 0.
// Independent of the process locale.
double readLeadingNumber(std::string_view text);

// Text to number for a value that is a number and nothing else (an option
// of the report command): an optional sign, digits with at most one "."
// (at least one digit) and an optional exponent ("E", "e", "D" or "d",
// optional sign, digits), with no blank anywhere. "." is the decimal point
// whatever the process locale. Nothing for any other text ("1,2", "1.2abc",
// " 1", "inf", "0x10", ""). An exponent beyond the double range gives
// +-infinity or 0, as the leading-number rule does.
std::optional<double> readStrictNumber(std::string_view text);

// The strict rule for a number typed where a decimal comma is likely
// (the k of "Other..." and of a link): blanks around the number are
// dropped and a "," stands for the point when the text has no "." ("1,3"
// reads 1.3). Nothing when anything else is left ("1.3abc", "1.3.4").
std::optional<double> readStrictNumberAllowingComma(std::string_view text);

// Number to text, the general format: rounded to 15 significant digits,
// shortest form, no trailing zeros, "." as decimal point, "0" before the
// point for magnitudes below 1, "-" for negatives ("0.51", "1", "-0.5").
// Negative zero is written "0". Exponent notation ("1E+20", "1E-05") only
// appears outside 1e-5 .. 1e15, which the program never writes.
std::string formatGeneral(double value);

// Rounds to 4 decimal places; a value exactly halfway (in its exact binary
// value) goes to the even digit. Non-finite values come back unchanged.
double roundHalfEven4(double value);

// The value with a fixed number of decimals ("69.2"), "." as the point.
std::string formatFixed(double value, int decimals);

// An angle in radians as degrees with one decimal: "69.2°".
std::string formatDegrees(double radians);

// The value rounded to `digits` significant figures (1 to 17), from its exact
// binary value, whatever the process locale. Non-finite values and 0 come
// back unchanged.
double roundSignificant(double value, int digits);

// The value rounded to 4 decimal places and written in the general format,
// as every number of the report is shown.
std::string formatRounded4(double value);

// A number in a sentence (the explanation, the status line, the values under
// the cursor): as formatRounded4, except that a value below 0.001 in
// magnitude, other than 0, keeps 4 significant figures ("0.0002745",
// "6.446E-11"), so no limit, Mach number or ratio reads as 0.
std::string formatShown(double value);

// The numbers a person reads in a sentence (the explanation, the status
// line, the banner, the engine note) are written by one rule, one function
// per kind of quantity below: a fixed number of figures chosen for the
// kind, "." as the point, no exponent spelt "E-05", no 15-digit tail, no
// "-0", and no value that rounds to a boundary it is not (0 and 1 for a
// ratio, 0.0 and 100.0 for a percentage, 0.0 for an angle).

// A dimensionless figure: a pressure ratio, a Mach number, an area ratio, a
// position x, a coefficient. 4 decimal places ("0.5283", "2", "-0.0123");
// below 0.001 in magnitude 4 significant figures ("0.0007899"), written
// with a power of ten below 0.0001 and from a million up ("6.446 × 10⁻¹¹",
// "5.283 × 10⁸"). A value that is not
// 0, 1 or -1 never reads as one of them: next to 1 it takes the decimals it
// needs, up to 10 ("0.999999999" for 0.9999999986), and beyond that reads "just below 1"
// or "just above 1". Non-finite values read "—".
std::string formatRatio(double value);

// A share (0.25 for a quarter) as a percentage with " %": one decimal
// ("25.0 %"); below 0.1 % as formatRatio ("0.0123 %"). Never "0.0 %" or
// "100.0 %" unless exactly so: next to 100 it takes up to 6 decimals
// ("99.98 %") and beyond that reads "nearly 100 %".
std::string formatPercent(double share);

// An angle in radians as degrees with "°": one decimal ("69.2°"); a
// nonzero angle below 0.05° in magnitude as formatRatio ("0.0042°"), so no
// angle that is not 0 reads "0.0°" or "-0.0°". 0 reads "0°".
std::string formatAngle(double radians);

// A number the program writes into a box (the Pe/Po of an altitude, the
// Me_Sup of an area ratio), short enough for the box: 4 significant
// figures, as decimals when that takes at most 9 characters ("0.5283",
// "0.0001234", "12.35"), otherwise with an exponent the box reads back
// ("5.475E-05"). Whole numbers of up to 9 digits are written whole.
std::string formatBoxNumber(double value);

// The shortest text that reads back as the same double ("0.1", "2.1",
// "1.0000000000000002"); for tables and data files, not for the report.
std::string formatRoundTrip(double value);

} // namespace cdnozzle
