// Reading the extended format with mingw-w64: its libstdc++ reads a long
// double through a double (16 bits short), its C library's strtold reads
// all 64 bits, correctly rounded. So fromChars() takes strtold, with the
// results std::from_chars gives elsewhere: the text's end, and
// result_out_of_range where strtold reports a range error (an overflow, or
// an inexact value below the normal range), the value then untouched.

#include "extended.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <string>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

std::from_chars_result fromChars(const char* first, const char* last, Extended& value)
{
    // strtold reads the locale's decimal point: the text's "." becomes it.
    std::string text(first, last);
    const char* point = std::localeconv()->decimal_point;
    const std::string localPoint = point && *point ? point : ".";
    const std::size_t pointAt = text.find('.');
    if (pointAt != std::string::npos)
        text.replace(pointAt, 1, localPoint);
    errno = 0;
    char* end = nullptr;
    const Extended read = std::strtold(text.c_str(), &end);
    const auto length = static_cast<std::size_t>(end - text.c_str());
    if (length == 0)
        return {first, std::errc::invalid_argument};
    // Back to the text's own characters: the point may be longer here.
    const auto consumed = static_cast<std::ptrdiff_t>(
        pointAt != std::string::npos && length > pointAt ? length - (localPoint.size() - 1)
                                                         : length);
    if (errno == ERANGE)
        return {first + consumed, std::errc::result_out_of_range};
    value = read;
    return {first + consumed, std::errc()};
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
