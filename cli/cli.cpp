#include "cli.h"

#include "csv.h"

#include "calc/design.h"
#include "calc/portarea.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <initializer_list>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view usageLine =
    "usage: ventbox-calc [--json] design FS QTS VAS RDC RE S VB\n"
    "       ventbox-calc [--json] area circle R [COUNT] | rectangle A B [COUNT]"
    " | square A [COUNT] | triangle A [COUNT]\n"
    "       ventbox-calc batch [FILE]\n";

constexpr std::string_view helpText =
    "Computes a vented (bass-reflex) loudspeaker enclosure exactly as the\n"
    "ventbox window does.\n"
    "\n"
    "  design FS QTS VAS RDC RE S VB\n"
    "      the seven field texts (Hz, -, l, Ohm, Ohm, cm2, l), each exactly as\n"
    "      typed into the window; prints L=, Qtc= and Fb= as the window shows them\n"
    "  area SHAPE DIMENSION... [COUNT]\n"
    "      the port cross-section in cm2 (circle R, rectangle A B, square A,\n"
    "      triangle A; dimensions in cm); COUNT is the count field's text, 1 if left out\n"
    "  batch [FILE]\n"
    "      CSV designs with the header fs,qts,vas,rdc,re,s,vb from FILE or standard\n"
    "      input; writes them with l,qtc,fb,status added\n"
    "\n"
    "Options (before the command):\n"
    "  --json     one JSON object instead of lines\n"
    "  --help     this text\n"
    "  --version  the version\n"
    "\n"
    "Exit status: 0 results filled, 1 results cleared (reason on standard error),\n"
    "2 floating point overflow, 64 usage error, 65 malformed CSV, 66 unreadable file.\n";

std::string jsonString(std::string_view s)
{
    std::string out = "\"";
    for (const char ch : s) {
        const auto u = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                constexpr std::string_view hex = "0123456789abcdef";
                out += "\\u00";
                out.push_back(hex[u >> 4]);
                out.push_back(hex[u & 0xF]);
            } else {
                out.push_back(ch);
            }
        }
    }
    out.push_back('"');
    return out;
}

std::string_view statusName(calc::Outcome outcome)
{
    switch (outcome) {
    case calc::Outcome::Filled: return "ok";
    case calc::Outcome::Empty: return "empty";
    case calc::Outcome::NotPositive: return "not-positive";
    case calc::Outcome::Overflow: return "overflow";
    }
    return "?";
}

// Prints the result texts as NAME=text lines or as one JSON object, says on
// standard error why they are missing (an overflow as the error box says
// it), and gives the exit status.
ExitStatus finish(bool json,
                  std::initializer_list<std::pair<const char*, const std::string&>> texts,
                  calc::Outcome outcome, const std::string& reason, std::string_view missing,
                  std::ostream& out, std::ostream& err)
{
    if (json) {
        char separator = '{';
        for (const auto& [name, text] : texts) {
            out << separator << jsonString(name) << ':' << jsonString(text);
            separator = ',';
        }
        out << ",\"status\":" << jsonString(statusName(outcome));
        if (!reason.empty())
            out << ",\"reason\":" << jsonString(reason);
        out << "}\n";
    } else {
        for (const auto& [name, text] : texts)
            out << name << '=' << text << '\n';
    }
    switch (outcome) {
    case calc::Outcome::Filled: return exitOk;
    case calc::Outcome::Overflow: err << calc::overflowMessage << ".\n"; return exitOverflow;
    default: err << "ventbox-calc: " << missing << ": " << reason << "\n"; return exitCleared;
    }
}

std::string designReason(const calc::DesignResult& r)
{
    static constexpr std::array<std::string_view, calc::designFieldCount> fieldNames{
        "Fs", "Qts", "Vas", "Rdc", "Re", "S", "Vb"};
    const std::string name(fieldNames[static_cast<std::size_t>(r.field)]);
    switch (r.outcome) {
    case calc::Outcome::Empty: return name + " is empty";
    case calc::Outcome::NotPositive:
        if (r.field == calc::DesignField::Re)
            return "Re is negative";
        if (r.storedQtc)
            return "Fb stores as 0: Fs is too small";
        return name + " is not greater than 0";
    case calc::Outcome::Overflow: return std::string(calc::overflowMessage) + ".";
    case calc::Outcome::Filled: break;
    }
    return {};
}

ExitStatus runDesign(bool json, std::span<const std::string> args, std::ostream& out,
                     std::ostream& err)
{
    if (args.size() != calc::designFieldCount) {
        err << "ventbox-calc: design needs exactly seven field texts\n" << usageLine;
        return exitUsage;
    }
    calc::DesignTexts texts;
    std::copy(args.begin(), args.end(), texts.begin());
    const calc::DesignResult r = calc::recalculate(texts);
    return finish(json, {{"L", r.length}, {"Qtc", r.qtc}, {"Fb", r.fb}}, r.outcome, designReason(r),
                  "results cleared", out, err);
}

std::optional<calc::PortShape> shapeByName(std::string_view name)
{
    if (name == "circle")
        return calc::PortShape::Circle;
    if (name == "rectangle")
        return calc::PortShape::Rectangle;
    if (name == "square")
        return calc::PortShape::Square;
    if (name == "triangle")
        return calc::PortShape::Triangle;
    return std::nullopt;
}

ExitStatus runArea(bool json, std::span<const std::string> args, std::ostream& out,
                   std::ostream& err)
{
    const auto shape = args.empty() ? std::nullopt : shapeByName(args[0]);
    if (!shape) {
        err << "ventbox-calc: area needs a shape: circle, rectangle, square or triangle\n"
            << usageLine;
        return exitUsage;
    }
    const std::size_t dims = calc::dimensionCount(*shape);
    const std::span<const std::string> rest = args.subspan(1);
    if (rest.size() != dims && rest.size() != dims + 1) {
        err << "ventbox-calc: area " << args[0] << " needs " << dims
            << (dims == 1 ? " dimension" : " dimensions") << " and an optional count\n"
            << usageLine;
        return exitUsage;
    }
    const std::string_view count = rest.size() > dims ? std::string_view(rest[dims]) : "1";
    const calc::AreaResult r = calc::portArea(*shape, rest.first(dims), count);

    std::string dimName = "the radius";
    if (*shape != calc::PortShape::Circle)
        dimName = r.dimension == 0 ? "side a" : "side b";
    std::string reason;
    if (r.outcome == calc::Outcome::Empty)
        reason = dimName + " is empty";
    else if (r.outcome == calc::Outcome::NotPositive)
        reason = dimName + " is not greater than 0";
    return finish(json, {{"S", r.text}}, r.outcome, reason, "no area", out, err);
}

ExitStatus runBatch(std::span<const std::string> args, std::istream& in, std::ostream& out,
                    std::ostream& err)
{
    if (args.size() > 1) {
        err << "ventbox-calc: batch takes at most one file\n" << usageLine;
        return exitUsage;
    }
    std::ifstream file;
    std::istream* source = &in;
    if (!args.empty() && args[0] != "-") {
        file.open(args[0], std::ios::binary);
        if (!file) {
            err << "ventbox-calc: cannot read " << args[0] << "\n";
            return exitNoInput;
        }
        source = &file;
    }

    CsvReader reader(*source);
    std::vector<std::string> fields;
    auto fail = [&](const std::string& what) {
        err << "ventbox-calc: line " << reader.line() << ": " << what << "\n";
        return exitDataError;
    };

    if (!reader.next(fields))
        return fail(reader.error().empty() ? "no header fs,qts,vas,rdc,re,s,vb" : reader.error());
    for (std::string& name : fields) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    if (fields != std::vector<std::string>{"fs", "qts", "vas", "rdc", "re", "s", "vb"})
        return fail("the header must be fs,qts,vas,rdc,re,s,vb");
    out << "fs,qts,vas,rdc,re,s,vb,l,qtc,fb,status\n";

    while (reader.next(fields)) {
        if (fields.size() == 1 && fields[0].empty())
            continue; // a blank line
        if (fields.size() != calc::designFieldCount)
            return fail("expected 7 fields, found " + std::to_string(fields.size()));
        calc::DesignTexts texts;
        std::copy(fields.begin(), fields.end(), texts.begin());
        const calc::DesignResult r = calc::recalculate(texts);
        fields.insert(fields.end(), {r.length, r.qtc, r.fb, std::string(statusName(r.outcome))});
        out << csvRecord(fields) << "\n";
    }
    if (!reader.error().empty())
        return fail(reader.error());
    return exitOk;
}

} // namespace

ExitStatus run(std::span<const std::string> args, std::istream& in, std::ostream& out,
               std::ostream& err)
{
    bool json = false;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            json = true;
        } else if (a == "--help") {
            out << usageLine << "\n" << helpText;
            return exitOk;
        } else if (a == "--version") {
            out << "ventbox-calc " << VENTBOX_VERSION << "\n";
            return exitOk;
        } else {
            err << "ventbox-calc: unknown option " << a << "\n" << usageLine;
            return exitUsage;
        }
    }
    if (i == args.size()) {
        err << usageLine;
        return exitUsage;
    }
    const std::string& command = args[i];
    const std::span<const std::string> rest = args.subspan(i + 1);
    if (command == "design")
        return runDesign(json, rest, out, err);
    if (command == "area")
        return runArea(json, rest, out, err);
    if (command == "batch") {
        if (json) {
            err << "ventbox-calc: --json does not apply to batch\n" << usageLine;
            return exitUsage;
        }
        return runBatch(rest, in, out, err);
    }
    err << "ventbox-calc: unknown command " << command << "\n" << usageLine;
    return exitUsage;
}

} // namespace cli
