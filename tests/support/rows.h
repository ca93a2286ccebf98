#pragma once
// Rows of the GoogleTest tables: a row prints, and names its test, by its
// name (letters, digits and "_" where ByName names the tests).

#include <concepts>
#include <ostream>
#include <string>

namespace tables {

// Rows begin with their name: {"k075", ...}. Not an aggregate, so that
// the name initialises it without braces of its own.
struct Row {
    constexpr Row(const char* rowName) : name(rowName) { } // NOLINT: implicit on purpose
    const char* name;
};

template <std::derived_from<Row> R> void PrintTo(const R& row, std::ostream* os)
{
    *os << row.name;
}

struct ByName {
    template <typename Info> std::string operator()(const Info& info) const
    {
        return info.param.name;
    }
};

} // namespace tables
