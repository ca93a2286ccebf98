// Compiled once with and once without VENTBOX_PORTABLE_EXTENDED: the
// variant of calc/ it is built against, as differential_variant.h shows it.

#include "differential_variant.h"

#include "calc/design.h"
#include "calc/numtext.h"
#include "calc/portarea.h"

#include <limits>

namespace differential {
namespace VENTBOX_CALC_VARIANT {

namespace {

using calc::Extended;

Extended toExtended(Value v)
{
    Extended x{};
    switch (v.kind) {
    case Value::Kind::Zero: break;
    case Value::Kind::Finite:
        x = calc::ldexp(static_cast<Extended>(v.significand), v.exponent);
        break;
    case Value::Kind::Infinite: x = std::numeric_limits<long double>::infinity(); break;
    case Value::Kind::NaN: return std::numeric_limits<long double>::quiet_NaN();
    }
    return v.negative ? -x : x;
}

Value toValue(Extended x)
{
    Value v;
    if (!(x == x)) {
        v.kind = Value::Kind::NaN;
        return v;
    }
    if (!calc::isFinite(x)) {
        v.kind = Value::Kind::Infinite;
        v.negative = x < 0;
        return v;
    }
    const calc::ExtendedParts parts = calc::decompose(x);
    v.negative = parts.negative;
    if (parts.significand == 0)
        return v;
    v.kind = Value::Kind::Finite;
    v.significand = parts.significand;
    v.exponent = parts.exponent;
    return v;
}

std::optional<Value> toValue(std::optional<calc::Real48> r)
{
    return r ? std::optional<Value>(toValue(r->value())) : std::nullopt;
}

} // namespace

const Variant variant = {
    .add = [](Value a, Value b) { return toValue(toExtended(a) + toExtended(b)); },
    .subtract = [](Value a, Value b) { return toValue(toExtended(a) - toExtended(b)); },
    .multiply = [](Value a, Value b) { return toValue(toExtended(a) * toExtended(b)); },
    .divide = [](Value a, Value b) { return toValue(toExtended(a) / toExtended(b)); },
    .squareRoot = [](Value a) { return toValue(calc::sqrt(toExtended(a))); },
    .compare =
        [](Value a, Value b) {
            const Extended x = toExtended(a);
            const Extended y = toExtended(b);
            return Comparison{(x < y ? 1U : 0U) | (x == y ? 2U : 0U) | (x > y ? 4U : 0U)
                              | (x <= y ? 8U : 0U) | (x >= y ? 16U : 0U)};
        },
    .read =
        [](std::string_view text) {
            const auto x = calc::textToExtended(text);
            return x ? std::optional<Value>(toValue(*x)) : std::nullopt;
        },
    .store = [](Value a) { return toValue(calc::Real48::store(toExtended(a))); },
    .mayShorten =
        [](Value a) {
            const auto r = calc::Real48::store(toExtended(a));
            return r ? std::optional<bool>(calc::portMayBeShortened(*r)) : std::nullopt;
        },
    .write = [](Value a, int width,
                int decimals) { return calc::realToText(toExtended(a), width, decimals); },
    .toChars =
        [](Value a, bool fixed, int precision) {
            std::string text(6000, ' ');
            const auto r = calc::toChars(
                text.data(), text.data() + text.size(), toExtended(a),
                fixed ? std::chars_format::fixed : std::chars_format::scientific, precision);
            text.resize(static_cast<std::size_t>(r.ptr - text.data()));
            return text;
        },
    .design =
        [](const std::array<std::string, 7>& texts) {
            const calc::DesignResult r = calc::recalculate(texts);
            return DesignOutput{.outcome = static_cast<int>(r.outcome),
                                .field = static_cast<int>(r.field),
                                .length = r.length,
                                .qtc = r.qtc,
                                .fb = r.fb,
                                .storedQtc = toValue(r.storedQtc)};
        },
    .area =
        [](int shape, std::span<const std::string> dimensions, std::string_view count) {
            const calc::AreaResult r =
                calc::portArea(static_cast<calc::PortShape>(shape), dimensions, count);
            return AreaOutput{
                .outcome = static_cast<int>(r.outcome), .dimension = r.dimension, .text = r.text};
        },
};

} // namespace VENTBOX_CALC_VARIANT
} // namespace differential
