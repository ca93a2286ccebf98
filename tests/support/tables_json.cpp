// The shared tables as JSON, for the page's tests in the browsers:
// tables-json > tables.json.

#include "tables.h"

#include <cstdio>
#include <span>
#include <string>

namespace {

std::string quoted(const char* text)
{
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\')
            out += '\\';
        out += *c;
    }
    return out + '"';
}

void printDesigns(const char* key, std::span<const tables::Design> rows, bool last)
{
    std::printf("  \"%s\": [\n", key);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const tables::Design& d = rows[r];
        std::string in;
        for (const char* text : d.in)
            in += (in.empty() ? "" : ", ") + quoted(text);
        std::printf("    {\"name\": %s, \"in\": [%s], \"length\": %s, \"qtc\": %s, \"fb\": %s, "
                    "\"shorten\": %s}%s\n",
                    quoted(d.name).c_str(), in.c_str(), quoted(d.length).c_str(),
                    quoted(d.qtc).c_str(), quoted(d.fb).c_str(), quoted(d.shorten).c_str(),
                    r + 1 < rows.size() ? "," : "");
    }
    std::printf("  ]%s\n", last ? "" : ",");
}

void printAreas(const char* key, std::span<const tables::Area> rows, bool last)
{
    static const char* const shapes[] = {"circle", "rectangle", "square", "triangle"};
    std::printf("  \"%s\": [\n", key);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const tables::Area& a = rows[r];
        std::string dims;
        for (const char* text : a.dims)
            if (text)
                dims += (dims.empty() ? "" : ", ") + quoted(text);
        std::printf("    {\"name\": %s, \"shape\": \"%s\", \"dims\": [%s], \"count\": %s, "
                    "\"outcome\": \"%s\", \"text\": %s}%s\n",
                    quoted(a.name).c_str(), shapes[static_cast<int>(a.shape)], dims.c_str(),
                    quoted(a.count).c_str(), std::string(calc::outcomeName(a.outcome)).c_str(), quoted(a.text).c_str(),
                    r + 1 < rows.size() ? "," : "");
    }
    std::printf("  ]%s\n", last ? "" : ",");
}

} // namespace

int main()
{
    std::printf("{\n");
    printDesigns("designs", tables::designs, false);
    printDesigns("untypedDesigns", tables::untypedDesigns, false);
    printAreas("areas", tables::areas, false);
    printAreas("untypedAreas", tables::untypedAreas, true);
    std::printf("}\n");
    return 0;
}
