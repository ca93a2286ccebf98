#pragma once
// Numbers in the fields' texts: reading a field's text as a number, and
// writing a number as a field's text. "." is always the decimal point,
// whatever the process locale says: nothing here goes through strtod,
// printf or the C locale.

#include "real48.h"

#include <optional>
#include <string>
#include <string_view>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

// What a computation from field texts came to.
enum class Outcome {
    Filled,      // the results are written
    Empty,       // an input text is empty: results cleared, no message
    NotPositive, // a tested input is 0 or less: cleared, then the silent abort
    Overflow,    // a value left the 48-bit or extended range: cleared, then the error
};

// The message of that error, as the application's error box shows it
// (followed by ".").
inline constexpr std::string_view overflowMessage = "Floating point overflow";

// The outcome's name where a program or page reports it: "ok", "empty",
// "not-positive", "overflow".
constexpr std::string_view outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Filled: return "ok";
    case Outcome::Empty: return "empty";
    case Outcome::NotPositive: return "not-positive";
    case Outcome::Overflow: return "overflow";
    }
    return "?";
}

// Reading, the grammar: the length of the longest leading part of `text`
// that is a well-formed number (after the leading blanks, which it
// includes), or 0 when there is none. Well-formed: optional "+"/"-", digits
// with an optional "." and at least one digit after it (".5" is fine, "5."
// is not: its number ends before the point), then an optional exponent
// "e"/"E", optional sign, one or more digits.
std::size_t numberPrefixLength(std::string_view text);

// Reading to the extended format: the value of the longest well-formed
// leading part, converted to the nearest extended value; 0 when there is
// none. A value too large for the extended format gives no value; one too
// small for it gives 0.
std::optional<Extended> textToExtended(std::string_view text);

// Reading as the fields use it: the value above, stored as a 48-bit real;
// no value when it is out of range.
std::optional<Real48> textToReal(std::string_view text);

// Writing: fixed-point text with `decimals` digits after ".", "-" in front
// of a negative number (also one that rounds to zero), no grouping, padded
// on the left with blanks to at least `width` characters. The magnitude is
// first taken to 18 significant digits (counted from the units digit below
// 10), rounded to nearest; those digits are then rounded to `decimals`
// places with a half going away from zero.
std::string realToText(Extended value, int width, int decimals);
inline std::string realToText(Real48 value, int width, int decimals)
{
    return realToText(value.value(), width, decimals);
}

// The key filter of the decimal input fields: Backspace, Enter, "." and
// the digits may be typed; nothing else. It does not look at the field's
// text, so a second "." passes.
constexpr bool decimalKeyPasses(char32_t key)
{
    return key == 8 || key == 13 || key == U'.' || (key >= U'0' && key <= U'9');
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
