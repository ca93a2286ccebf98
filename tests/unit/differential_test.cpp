// The native and the portable extended format side by side: every
// operation the calculations use, over random and boundary operands, and
// whole recalculations and port areas from random field texts. Any
// difference in any bit, text or outcome fails.
//
// Fixed seeds. The short run of make test; VENTBOX_DIFFERENTIAL_SCALE=N
// runs N times as many cases (make test-portable-long).

#include "differential_variant.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using differential::AreaOutput;
using differential::DesignOutput;
using differential::Value;
using differential::Variant;
using Kind = Value::Kind;

const Variant& native = differential::native::variant;
const Variant& portable = differential::portable::variant;

int scale()
{
    const char* s = std::getenv("VENTBOX_DIFFERENTIAL_SCALE");
    return s ? std::max(1, std::atoi(s)) : 1;
}

constexpr int minExponent = -16445; // of a subnormal's significand
constexpr int maxExponent = 16383 - 63;

std::string show(const Value& v)
{
    std::ostringstream os;
    switch (v.kind) {
    case Kind::Zero: os << (v.negative ? "-0" : "+0"); break;
    case Kind::Infinite: os << (v.negative ? "-inf" : "+inf"); break;
    case Kind::NaN: os << "nan"; break;
    case Kind::Finite:
        os << (v.negative ? "-" : "+") << "0x" << std::hex << v.significand << std::dec << "p"
           << v.exponent;
        break;
    }
    return os.str();
}

std::string show(const std::optional<Value>& v)
{
    return v ? show(*v) : "none";
}

std::string show(const std::string& s)
{
    return '"' + s + '"';
}

std::string show(const std::optional<bool>& b)
{
    return b ? (*b ? "true" : "false") : "none";
}

std::string show(unsigned c)
{
    return std::to_string(c);
}

std::string show(const DesignOutput& d)
{
    return "outcome " + std::to_string(d.outcome) + " field " + std::to_string(d.field) + " "
        + show(d.length) + " " + show(d.qtc) + " " + show(d.fb) + " Qtc " + show(d.storedQtc);
}

std::string show(const AreaOutput& a)
{
    return "outcome " + std::to_string(a.outcome) + " dimension " + std::to_string(a.dimension)
        + " " + show(a.text);
}

// Counts the cases and the differences of one operation; names the first
// few differences.
class Tally {
public:
    explicit Tally(std::string name) : name_(std::move(name)) { }
    ~Tally()
    {
        std::cout << "differential: " << name_ << ": " << cases_ << " cases, " << differences_
                  << " differences\n";
        EXPECT_EQ(differences_, 0) << name_;
    }
    Tally(const Tally&) = delete;
    Tally& operator=(const Tally&) = delete;

    template <typename Result>
    void check(const Result& n, const Result& p, const std::string& input)
    {
        ++cases_;
        if (n == p)
            return;
        if (++differences_ <= 5)
            ADD_FAILURE() << name_ << "(" << input << "): native " << show(n) << ", portable "
                          << show(p);
    }

private:
    std::string name_;
    long cases_ = 0;
    long differences_ = 0;
};

// A value m × 2^e as the extended format holds it: normalised, bits below
// the smallest subnormal dropped, the exponent within the format.
Value finite(bool negative, std::uint64_t m, int e)
{
    Value v;
    v.negative = negative;
    if (m == 0)
        return v;
    const int shift = std::countl_zero(m);
    m <<= shift;
    e -= shift;
    if (e < minExponent) {
        m = minExponent - e >= 64 ? 0 : m >> (minExponent - e);
        e = minExponent;
        if (m == 0)
            return v;
    }
    v.kind = Kind::Finite;
    v.significand = m;
    v.exponent = std::min(e, maxExponent);
    return v;
}

class Generator {
public:
    explicit Generator(std::uint64_t seed) : random_(seed) { }

    std::uint64_t bits() { return random_(); }
    int uniform(int low, int high) // both included
    {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool chance(int percent) { return uniform(1, 100) <= percent; }

    // A significand of `width` random bits, the top one set.
    std::uint64_t significand(int width)
    {
        const std::uint64_t top = std::uint64_t{1} << (width - 1);
        return (bits() & (top | (top - 1))) | top;
    }

    // An operand: mostly where the calculations live, also the whole
    // range, its edges and the special values.
    Value operand()
    {
        const bool negative = chance(30);
        const int pick = uniform(1, 100);
        if (pick <= 25) // a stored 48-bit value
            return finite(negative, significand(40), uniform(-128, 126) - 39);
        if (pick <= 45) // a full extended significand near the field range
            return finite(negative, significand(64), uniform(-200, 200) - 63);
        if (pick <= 60) // a short significand: exact results and ties
            return finite(negative, significand(uniform(1, 34)), uniform(-70, 70));
        if (pick <= 70) // anywhere
            return finite(negative, significand(64), uniform(minExponent - 63, maxExponent));
        if (pick <= 80) // near and below the smallest normal magnitude
            return finite(negative, significand(uniform(1, 64)), minExponent + uniform(-63, 80));
        if (pick <= 85) // near the largest
            return finite(negative, significand(uniform(1, 64)), maxExponent - uniform(0, 80));
        if (pick <= 92) // small integers
            return finite(negative, static_cast<std::uint64_t>(uniform(1, 1000)), 0);
        Value special;
        special.negative = negative;
        switch (uniform(0, 5)) {
        case 0: break; // ±0
        case 1: special.kind = Kind::Infinite; break;
        case 2: special.kind = Kind::NaN; break;
        case 3: return finite(negative, 1, minExponent);
        case 4: return finite(negative, ~std::uint64_t{0}, maxExponent);
        default: return finite(negative, 1, -16382);
        }
        return special;
    }

    // A second operand that makes the sum of a and it a tie or cancel.
    Value partner(const Value& a)
    {
        if (a.kind != Kind::Finite)
            return operand();
        const bool negative = chance(50);
        switch (uniform(0, 3)) {
        case 0: return finite(negative, 1, a.exponent - 1); // half a unit of a
        case 1: return finite(negative, 3, a.exponent - uniform(1, 3));
        case 2: // a neighbour
            return finite(a.negative != chance(50), a.significand - 1, a.exponent);
        default: return finite(negative, significand(64), a.exponent + uniform(-66, 2));
        }
    }

private:
    std::mt19937_64 random_;
};

TEST(Differential, Arithmetic)
{
    const int cases = 30000 * scale();
    struct Binary {
        const char* name;
        Value (*Variant::*op)(Value, Value);
        bool ties; // partner operands
    };
    for (const Binary& b :
         {Binary{"add", &Variant::add, true}, Binary{"subtract", &Variant::subtract, true},
          Binary{"multiply", &Variant::multiply, false},
          Binary{"divide", &Variant::divide, false}}) {
        Generator g(std::hash<std::string>{}(b.name));
        Tally tally(b.name);
        for (int i = 0; i < cases; ++i) {
            Value x = g.operand();
            Value y = g.operand();
            if (b.ties && g.chance(40)) {
                y = g.partner(x);
            } else if (!b.ties && g.chance(30)) { // products of 33-bit significands tie
                x = finite(g.chance(50), g.significand(33), g.uniform(-100, 100));
                y = finite(g.chance(50), g.significand(33), g.chance(20) ? minExponent + 100 : 0);
            }
            tally.check((native.*b.op)(x, y), (portable.*b.op)(x, y), show(x) + ", " + show(y));
        }
    }
    Generator g(1);
    Tally roots("sqrt");
    for (int i = 0; i < cases; ++i) {
        Value x = g.operand();
        if (g.chance(20)) { // exact squares, and squares of the smallest values
            const std::uint64_t m = g.significand(g.uniform(1, 32));
            x = finite(false, m * m, 2 * g.uniform(-8222, 8000));
        }
        roots.check(native.squareRoot(x), portable.squareRoot(x), show(x));
    }
    Tally comparisons("compare");
    for (int i = 0; i < cases; ++i) {
        const Value x = g.operand();
        Value y = g.chance(20) ? x : g.chance(30) ? g.partner(x) : g.operand();
        if (g.chance(10))
            y.negative = !y.negative;
        comparisons.check(native.compare(x, y), portable.compare(x, y), show(x) + ", " + show(y));
    }
}

// The exact decimal text of m × 2^e + sign × 2^(e - 1) + nudge × 2^(e - 60):
// a tie between two neighbours of the extended format, or just beside it.
std::string exactText(std::uint64_t m, int e, int nudge)
{
    mpfr_t x;
    mpfr_t part;
    mpfr_inits2(256, x, part, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_uj_2exp(x, m, e, MPFR_RNDN);
    mpfr_set_ui_2exp(part, 1, e - 1, MPFR_RNDN);
    mpfr_add(x, x, part, MPFR_RNDN);
    mpfr_set_si_2exp(part, nudge, e - 60, MPFR_RNDN);
    mpfr_add(x, x, part, MPFR_RNDN);
    // Enough digits for the exact value: a binary fraction of k places has
    // k decimals.
    const long lowest = e - 60;
    const auto digits = static_cast<std::size_t>(lowest < 0 ? -lowest : lowest / 3) + 100;
    mpfr_exp_t exponent = 0;
    char* s = mpfr_get_str(nullptr, &exponent, 10, digits, x, MPFR_RNDN);
    std::string d(s);
    mpfr_free_str(s);
    mpfr_clears(x, part, static_cast<mpfr_ptr>(nullptr));
    d.erase(d.find_last_not_of('0') + 1);
    return d.substr(0, 1) + "." + d.substr(1) + "0e" + std::to_string(exponent - 1);
}

std::string digits(Generator& g, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s.push_back(static_cast<char>('0' + g.uniform(0, 9)));
    return s;
}

// A text a field may hold: mostly a plausible number, also the empty
// text, zeros, signs, exponents, long and malformed texts.
std::string fieldText(Generator& g)
{
    const int pick = g.uniform(1, 100);
    if (pick <= 5)
        return "";
    if (pick <= 10) {
        static const char* const odd[] = {"0",   "0.", ".",     "000",  "-5",
                                          "+3",  " ",  "1,5",   "e5",   "12 ",
                                          " 12", "7.", "2.5.1", "1.5e", "0.0001"};
        return odd[g.uniform(0, std::size(odd) - 1)];
    }
    std::string text;
    if (g.chance(3))
        text += g.chance(50) ? "-" : "+";
    if (pick <= 75) {
        text += digits(g, g.uniform(0, 4));
        if (g.chance(70) || text.empty() || text == "-" || text == "+")
            text += "." + digits(g, g.uniform(1, 6));
    } else if (pick <= 85) {
        text += digits(g, g.uniform(1, 3)) + "." + digits(g, g.uniform(1, 4)) + "e"
            + std::to_string(g.uniform(-40, 40));
    } else if (pick <= 92) { // the edges of the 48-bit range
        static const char* const edge[] = {"1e38",    "1.7e38",   "1.701e38", "1.71e38", "3e-39",
                                           "2.9e-39", "2.94e-39", "1e-38",    "9e37",    "1e-30"};
        text += edge[g.uniform(0, std::size(edge) - 1)];
    } else {
        text += digits(g, g.uniform(15, 30));
        if (g.chance(50))
            text.insert(static_cast<std::size_t>(g.uniform(1, 10)), ".");
    }
    if (g.chance(4)) // malformed after a well-formed part
        text += g.chance(50) ? "." : ".5.";
    return text;
}

TEST(Differential, Reading)
{
    const int cases = 20000 * scale();
    Generator g(2);
    Tally fields("read field text");
    for (int i = 0; i < cases; ++i) {
        const std::string t = fieldText(g);
        fields.check(native.read(t), portable.read(t), show(t));
    }
    Tally wide("read wide text");
    for (int i = 0; i < cases; ++i) {
        std::string d = digits(g, g.uniform(1, 40));
        if (g.chance(50))
            d.insert(d.size() - std::min(d.size(), static_cast<std::size_t>(g.uniform(0, 5))), 1,
                     '.');
        const std::string t =
            (g.chance(10) ? " -" : "") + d + "e" + std::to_string(g.uniform(-4990, 4960));
        wide.check(native.read(t), portable.read(t), show(t));
    }
    for (const char* t : {"1e99999999999999999999", "-1e-99999999999999999999", "0e999999999",
                          "0.000000000000000000000000000001e-4920", "1.18973149535723176502e4932",
                          "1.18973149535723176509e4932", "3.6451995318824746025e-4951",
                          "1.8225997659412373012e-4951", "1.8225997659412373013e-4951",
                          "3.3621031431120935063e-4932", "3.362103143112093506e-4932"})
        wide.check(native.read(t), portable.read(t), show(std::string(t)));

    // Ties between neighbours, and just beside them, written out exactly:
    // in the field range, below the smallest normal magnitude and at the
    // top of the format.
    Tally ties("read exact ties");
    const int tieCases = 300 * scale();
    for (int i = 0; i < tieCases; ++i) {
        const int where = g.uniform(0, 9);
        int e = g.uniform(-128, 126) - 63;
        if (where == 0)
            e = g.uniform(minExponent, minExponent + 64);
        else if (where == 1)
            e = g.uniform(maxExponent - 64, maxExponent);
        std::uint64_t m = g.significand(64);
        if (e == minExponent && g.chance(50))
            m >>= g.uniform(1, 63); // a subnormal
        const std::string t = exactText(m, e, g.uniform(-1, 1));
        ties.check(native.read(t), portable.read(t), show(t.substr(0, 40)) + "...");
    }
    // Just below the smallest normal magnitude: what rounds up to it.
    for (const int nudge : {-1, 0, 1}) {
        for (const std::uint64_t m : {~std::uint64_t{0}, ~std::uint64_t{0} - 1}) {
            const std::string t = exactText(m >> 1, minExponent, nudge);
            ties.check(native.read(t), portable.read(t), show(t.substr(0, 40)) + "...");
        }
    }
}

TEST(Differential, StoringAndWriting)
{
    const int cases = 30000 * scale();
    Generator g(3);
    Tally stores("store");
    Tally shortening("may shorten");
    for (int i = 0; i < cases; ++i) {
        Value x = g.operand();
        const int pick = g.uniform(0, 9);
        if (pick == 0) // a tie at 40 bits
            x = finite(g.chance(50), (g.significand(40) << 24) | 0x800000, g.uniform(-200, 200));
        else if (pick == 1) // at the edges: 2^-128 and 2^127
            x = finite(g.chance(50), ~std::uint64_t{0} - g.bits() % 0x1000000,
                       (g.chance(50) ? -128 : 126) - 63 + g.uniform(-1, 1));
        else if (pick == 2) // around the shortening threshold
            x = finite(false, g.significand(64), -64);
        stores.check(native.store(x), portable.store(x), show(x));
        shortening.check(native.mayShorten(x), portable.mayShorten(x), show(x));
    }

    Tally writes("write");
    for (int i = 0; i < cases; ++i) {
        Value x = g.operand();
        const int width = g.uniform(0, 8);
        int decimals = g.chance(70) ? 2 * g.uniform(1, 2) : g.uniform(0, 18);
        const int pick = g.uniform(0, 9);
        if (pick <= 3) { // a stored value rounding to `decimals` places
            x = *native.store(finite(g.chance(20), g.significand(40), g.uniform(-60, 60) - 39));
        } else if (pick == 4) { // the half at `decimals` places, its 40-bit neighbours
            std::string t = digits(g, g.uniform(1, 5)) + "." + digits(g, decimals) + "5";
            x = *native.store(*native.read(t));
            if (g.chance(50))
                x.significand +=
                    g.chance(50) ? (std::uint64_t{1} << 24) : -(std::uint64_t{1} << 24);
        } else if (pick == 5) { // 18 significant digits and a half, exactly
            x = finite(false,
                       (static_cast<std::uint64_t>(g.uniform(1, 9)) * 100000000000000000ULL
                        + g.bits() % 100000000000000000ULL)
                               * 2
                           + 1,
                       -1);
        } else if (pick == 6) { // below 10: 17 decimals and a half
            x = finite(false, static_cast<std::uint64_t>(2 * g.uniform(1, 1 << 21) + 1), -18);
        }
        writes.check(native.write(x, width, decimals), portable.write(x, width, decimals),
                     show(x) + " " + std::to_string(width) + " " + std::to_string(decimals));
    }
    // The conversions under writing, over the whole range.
    Tally texts("toChars");
    for (int i = 0; i < cases / 10; ++i) {
        const Value x = g.operand();
        const bool fixed = g.chance(50);
        const int precision = g.uniform(0, 30);
        texts.check(native.toChars(x, fixed, precision), portable.toChars(x, fixed, precision),
                    show(x) + (fixed ? " fixed " : " scientific ") + std::to_string(precision));
    }
}

TEST(Differential, RecalculationsAndPortAreas)
{
    const int cases = 20000 * scale();
    Generator g(4);
    Tally designs("recalculate");
    for (int i = 0; i < cases; ++i) {
        std::array<std::string, 7> texts;
        for (std::string& t : texts)
            t = fieldText(g);
        if (g.chance(50)) // Re is often 0
            texts[4] = "0";
        std::string input;
        for (const std::string& t : texts)
            input += show(t) + " ";
        designs.check(native.design(texts), portable.design(texts), input);
    }
    Tally areas("port area");
    static const char* const counts[] = {"", "1", "2", "999", "1000", "0", "-3", "+5", "abc"};
    for (int i = 0; i < cases; ++i) {
        const int shape = g.uniform(0, 3);
        const std::vector<std::string> dimensions{fieldText(g), fieldText(g)};
        const std::string count =
            g.chance(50) ? std::to_string(g.uniform(1, 999)) : counts[g.uniform(0, 8)];
        areas.check(native.area(shape, dimensions, count), portable.area(shape, dimensions, count),
                    std::to_string(shape) + " " + show(dimensions[0]) + " " + show(dimensions[1])
                        + " " + show(count));
    }
}

} // namespace
