#pragma once
// The response of a vented box: the fourth-order high-pass with the box's
// leakage losses (Small, "Vented-Box Loudspeaker Systems", JAES 1973), in
// double precision. Nothing here is a field's number: the window's 48-bit
// rules stop at the design's values that come in.

#include <optional>
#include <string>
#include <vector>

namespace cli {

// The box as the response sees it: the tuning ratio h = Fb / Fs, the
// compliance ratio alpha = Vas / Vb, the driver's total Q (raised by a
// series choke) and the Q of the box's leakage losses.
struct VentedBox {
    double h = 1;
    double alpha = 1;
    double qt = 0.4;
    double ql = 7;
};

struct Peak {
    double hz;
    double db;
};

// G(s) = s⁴T0⁴ / (s⁴T0⁴ + a1·s³T0³ + a2·s²T0² + a3·s·T0 + 1) with
// T0 = 1 / (2π·√(Fs·Fb)). Ql may be infinite: a box without losses.
class VentedResponse {
public:
    VentedResponse(double fs, const VentedBox& box);

    // 20·log10|G| at `hz`.
    [[nodiscard]] double levelDb(double hz) const;
    // The group delay −d arg G / dω at `hz`, in ms.
    [[nodiscard]] double delayMs(double hz) const;
    // The highest frequency at which |G|² = ½.
    [[nodiscard]] double f3() const;
    // The highest level, where it rises at least 0.005 dB above 0 dB (as
    // far as two decimals can show).
    [[nodiscard]] std::optional<Peak> peak() const;

private:
    double f0_; // 1 / (2π·T0)
    double a1_;
    double a2_;
    double a3_;
};

struct ResponsePoint {
    double hz;
    double db;
    double delayMs;
};

// `count` frequencies spaced logarithmically from `from` to `to`, both
// included (count >= 2).
std::vector<double> logSpaced(double from, double to, int count);

// The table at those frequencies.
std::vector<ResponsePoint> responseTable(const VentedResponse& response,
                                         const std::vector<double>& frequencies);

// A number for JSON and CSV: 6 significant digits, "." as the point,
// whatever the locale.
std::string numberText(double value);

// Fixed-point text with `decimals` digits, "." as the point.
std::string fixedText(double value, int decimals);

} // namespace cli
