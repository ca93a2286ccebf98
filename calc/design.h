#pragma once
// The recalculation of the enclosure: seven field texts in, three result
// texts out. A pure function; the main window only moves texts in and out.

#include "numtext.h"

#include <array>
#include <optional>
#include <string>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

// The seven inputs, in the order they are read and tested.
enum class DesignField { Fs, Qts, Vas, Rdc, Re, S, Vb };
inline constexpr std::size_t designFieldCount = 7;
using DesignTexts = std::array<std::string, designFieldCount>; // in DesignField order

struct DesignResult {
    Outcome outcome = Outcome::Empty;
    // The input that cleared the results (Empty, NotPositive). A Fb that
    // stores as 0 blames Fs, whose smallness is its only cause.
    DesignField field = DesignField::Fs;
    // Port length (4 decimals), Qtc (4 decimals), Fb (2 decimals), each at
    // least five characters wide; all empty unless Filled.
    std::string length{};
    std::string qtc{};
    std::string fb{};
    // The stored Qtc whenever step 4 got as far as storing it, also when a
    // later step overflowed; the window keeps it in its Qtc field.
    std::optional<Real48> storedQtc{};
    // The stored Fb of a filled design, whose text has two decimals only:
    // what the response of the box starts from.
    std::optional<Real48> storedFb{};
};

DesignResult recalculate(const DesignTexts& texts);

// The tuning factor: 0.75 up to a stored Qtc of 0.7, the 48-bit 0.6 above.
Real48 tuningFactor(Real48 qtc);

// The answer printed on the design sheet: may the port be shortened? Yes
// while the stored Qtc lies below the extended 0.65.
bool portMayBeShortened(Real48 qtc);

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
