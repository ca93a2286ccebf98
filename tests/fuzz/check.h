#pragma once
// What the fuzz targets share: a check that stops the run with the failing
// input's story, and the shape of a number written as a field's text.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Stops the run: libFuzzer reports the abort as a crash and keeps the input.
[[noreturn]] inline void fuzzFailure(const char* file, int line, const char* condition,
                                     const std::string& detail)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", file, line, condition, detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFailure(__FILE__, __LINE__, #condition, (detail));                                 \
    } while (false)

// A printable form of any bytes, for the failure message.
inline std::string quoted(std::string_view bytes)
{
    std::string out = "\"";
    constexpr std::string_view hex = "0123456789abcdef";
    for (const char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (u >= 0x20 && u < 0x7F && ch != '"' && ch != '\\') {
            out.push_back(ch);
        } else {
            out += "\\x";
            out.push_back(hex[u >> 4]);
            out.push_back(hex[u & 0xF]);
        }
        if (out.size() > 300) {
            out += "...";
            break;
        }
    }
    out.push_back('"');
    return out;
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The parts of a number written as a field's text; `wellFormed` is false
// when the text does not have the form: blanks, an optional "-", integer
// digits without a leading zero (unless the only one), then "." and
// `decimals` digits when `decimals` > 0.
struct FixedText {
    std::size_t blanks = 0;
    bool minus = false;
    std::string_view integer;
    std::string_view fraction;
    bool wellFormed = false;
};

inline FixedText parseFixedText(std::string_view text, int decimals)
{
    FixedText f;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    f.blanks = i;
    if (i < text.size() && text[i] == '-') {
        f.minus = true;
        ++i;
    }
    const std::size_t intBegin = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    f.integer = text.substr(intBegin, i - intBegin);
    if (f.integer.empty() || (f.integer.size() > 1 && f.integer[0] == '0'))
        return f;
    if (decimals > 0) {
        if (i >= text.size() || text[i] != '.')
            return f;
        const std::size_t fracBegin = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        f.fraction = text.substr(fracBegin, i - fracBegin);
        if (f.fraction.size() != static_cast<std::size_t>(decimals))
            return f;
    }
    f.wellFormed = i == text.size();
    return f;
}
