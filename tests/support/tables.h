#pragma once
// The example designs and port areas that the calculation, command-line,
// window, print and benchmark code all take: the texts as
// typed and the texts the program shows for them. Plain C++, no Qt.

#include "rows.h"

#include "calc/numtext.h"
#include "calc/portarea.h"

#include <array>

namespace tables {

// A design: the seven input texts (Fs, Qts, Vas, Rdc, Re, S, Vb) and the
// results the window shows, with the design sheet's answer whether the port
// may be shortened.
struct Design : Row {
    std::array<const char*, 7> in;
    const char* length;
    const char* qtc;
    const char* fb;
    const char* shorten;
};

// clang-format off
// Designs that can be typed into the main window.
inline constexpr Design designs[] = {
    {"k075",              {"30", "0.4", "50", "6", "0", "50", "40"},               "31.5450", "0.5580", "31.39", "ANO"},
    {"k06_with_choke",    {"30", "0.6", "50", "6", "1", "50", "30"},               "60.1991", "1.0631", "27.34", "NE"},
    {"low_fb_padded",     {"9", "0.3", "10", "6", "0", "10", "100"},               "65.9459", "0.2926", " 6.58", "ANO"},
    {"negative_length",   {"100", "0.3", "10", "6", "0", "10", "100"},             "-2.2456", "0.2926", "73.15", "ANO"},
    // a trailing point reads as the number before it
    {"trailing_point",    {"30", "0.4", "50", "6", "0", "50", "40."},              "31.5450", "0.5580", "31.39", "ANO"},
    // Qtc is 0.7 in decimals; in extended it lies just above 0.7, stored just
    // below: k = 0.75
    {"qtc_07_stored_below", {"30", "0.5", "50", "5.58", "0.02", "50", "40"},       "31.5450", "0.7000", "31.39", "NE"},
    // Qtc shown as 0.7000 but above 0.7: k = 0.6 as its 48-bit value, just
    // above 0.6, takes the Fb of 6.975 up; the length follows the stored Fb
    {"qtc_07_above_k06",  {"10", "0.60216", "45", "6", "0", "19.6", "80"},         "146.1507", "0.7000", " 6.98", "NE"},
    // Qtc shown as 0.6500 on both sides of the extended 0.65: the stored
    // value decides the answer. Below: 0.65 in decimals, a hair above the
    // extended 0.65 before it is stored, just below it once stored.
    {"qtc_065_stored_below", {"30", "0.5", "45", "6.51", "0.77", "50", "80"},      "20.9578", "0.6500", "26.16", "ANO"},
    {"qtc_065_above",     {"50", "0.49422", "40", "6", "0", "50", "40"},           "9.0471",  "0.6500", "49.32", "NE"},
};

// Designs that only the command line and the calculation take: texts
// longer than the window's fields allow, or with characters that its key
// filter refuses.
inline constexpr Design untypedDesigns[] = {
    // blanks are not empty and are skipped in front
    {"leading_blank",     {" 30", "0.4", "50", "6", "0", "50", "40"},              "31.5450", "0.5580", "31.39", "ANO"},
    // Qtc stores just below 0.7 (k = 0.75) only with 0.93 held in extended
    // precision; the double 0.93 would take it above
    {"extended_093",      {"30", "0.50179546620165638", "50", "6", "0", "50", "40.000961799989454"}, "31.5446", "0.7000", "31.39", "NE"},
    // the port length multiplies Fb by 4 pi squared, then by Fb again
    {"length_order",      {"30", "0.4", "50", "6", "0", "116.94771239405964", "40.012199999997392"}, "78.8437", "0.5580", "31.38", "ANO"},
};

// A port area: shape, the dimension texts (b only for the rectangle), the
// count field's text, and the area text (empty: no area).
struct Area : Row {
    calc::PortShape shape;
    std::array<const char*, 2> dims;
    const char* count;
    calc::Outcome outcome;
    const char* text;
};

using enum calc::PortShape;
using enum calc::Outcome;

// Areas that can be typed into the port area window.
inline constexpr Area areas[] = {
    {"circle_1",              Circle,    {"1", nullptr},      "1",   Filled,      "3.1416"},
    {"circle_2_5",            Circle,    {"2.5", nullptr},    "1",   Filled,      "19.6350"},
    {"circle_5_twice",        Circle,    {"5", nullptr},      "2",   Filled,      "157.0796"},
    {"circle_10",             Circle,    {"10", nullptr},     "1",   Filled,      "314.1593"},
    // a second point reads as the number before it (1.5, not 15)
    {"circle_second_point",   Circle,    {"1.5.", nullptr},   "1",   Filled,      "7.0686"},
    {"circle_zero",           Circle,    {"0.000", nullptr},  "1",   NotPositive, ""},
    {"circle_point",          Circle,    {".", nullptr},      "1",   NotPositive, ""},
    // the count as it stands in the field; a sign after "+" is no number
    {"count_zero",            Circle,    {"1", nullptr},      "0",   Filled,      "0.0000"},
    {"count_negative",        Circle,    {"1", nullptr},      "-1",  Filled,      "-3.1416"},
    {"count_plus_minus",      Circle,    {"1", nullptr},      "+-5", Filled,      "3.1416"},
    {"rectangle",             Rectangle, {"10", "5"},         "1",   Filled,      "50.0000"},
    {"rectangle_twice",       Rectangle, {"10", "5"},         "2",   Filled,      "100.0000"},
    // the exact 0.03125 rounds half up
    {"rectangle_half_up",     Rectangle, {"0.25", "0.125"},   "1",   Filled,      "0.0313"},
    {"rectangle_b_empty",     Rectangle, {"10", ""},          "1",   Empty,       ""},
    {"rectangle_a_zero",      Rectangle, {"0", "5"},          "1",   NotPositive, ""},
    {"square_twice",          Square,    {"10", nullptr},     "2",   Filled,      "200.0000"},
    {"triangle",              Triangle,  {"10", nullptr},     "1",   Filled,      "43.3013"},
    {"triangle_thrice",       Triangle,  {"4", nullptr},      "3",   Filled,      "20.7846"},
    // the eight-digit factor, not the full square root of 3 (433012.7019)
    {"triangle_factor",       Triangle,  {"1000", nullptr},   "1",   Filled,      "433012.7000"},
};

// Areas that need texts longer than the window's fields allow.
inline constexpr Area untypedAreas[] = {
    // the circle multiplies r by r, then by pi, then by the count
    {"circle_order",          Circle,    {"1.8399607343926618341", nullptr}, "341", Filled, "3626.7812"},
};
// clang-format on

} // namespace tables
