#include "real48.h"

#include <cmath>

namespace calc {

Real48 Real48::store(Extended x)
{
    if (!std::isfinite(x))
        throw FloatOverflow();
    if (std::fabs(x) < minMagnitude)
        return Real48();

    // x = m * 2^e with 0.5 <= |m| < 1; m * 2^40 is exact in the 64-bit
    // significand, and roundl takes halves away from zero whatever the
    // current rounding mode.
    int e = 0;
    const Extended m = std::frexp(x, &e);
    const Extended rounded = std::round(std::ldexp(m, significandBits));
    const Extended stored = std::ldexp(rounded, e - significandBits);
    if (std::fabs(stored) >= overflowMagnitude)
        throw FloatOverflow();
    return Real48(stored);
}

} // namespace calc
