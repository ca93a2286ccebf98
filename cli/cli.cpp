#include "cli.h"

#include "csv.h"
#include "response.h"
#include "svg.h"

#include "calc/design.h"
#include "calc/portarea.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
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
    "       ventbox-calc [OPTION...] response FS QTS VAS RDC RE S VB [OPTION...]\n"
    "       ventbox-calc [--json] area circle R [COUNT] | rectangle A B [COUNT]"
    " | square A [COUNT] | triangle A [COUNT]\n"
    "       ventbox-calc batch [--response [--ql QL]] [FILE]\n";

constexpr std::string_view helpText =
    "Computes a vented (bass-reflex) loudspeaker enclosure exactly as the\n"
    "ventbox window does.\n"
    "\n"
    "  design FS QTS VAS RDC RE S VB\n"
    "      the seven field texts (Hz, -, l, Ohm, Ohm, cm2, l), each exactly as\n"
    "      typed into the window; prints L=, Qtc= and Fb= as the window shows them\n"
    "  response FS QTS VAS RDC RE S VB\n"
    "      the design's three lines, then the response of the vented box: F3= the\n"
    "      highest frequency (Hz) at which the level is -3 dB, Peak= the highest\n"
    "      level above 0 dB and its frequency, or none, and a table of frequency\n"
    "      (Hz), level (dB) and group delay (ms). Small's fourth-order high-pass\n"
    "      with box losses QL, from the design's Fb, Vb, Fs, Vas and the driver's\n"
    "      Q raised by the choke, Qts x (Rdc + Re) / Rdc, in double precision, not\n"
    "      the window's 48-bit rules. A design that clears or overflows prints and\n"
    "      ends as with design. A field text cannot begin with --\n"
    "  area SHAPE DIMENSION... [COUNT]\n"
    "      the port cross-section in cm2 (circle R, rectangle A B, square A,\n"
    "      triangle A; dimensions in cm); COUNT is the count field's text, 1 if left out\n"
    "  batch [--response [--ql QL]] [FILE]\n"
    "      CSV designs with the header fs,qts,vas,rdc,re,s,vb from FILE or standard\n"
    "      input; writes them with l,qtc,fb,status added, and with --response also\n"
    "      f3 and peak_db (empty when there is no peak)\n"
    "\n"
    "Options go before the command; those of response may also follow its seven\n"
    "field texts, and those of batch follow the word batch:\n"
    "  --json        one JSON object instead of lines; with response the design's\n"
    "                keys, then f3, peak (null or {db, hz}) and points [{hz, db,\n"
    "                delay_ms}]\n"
    "  --csv         response: the table alone, with the header hz,db,delay_ms\n"
    "  --svg FILE    response: also draws level and group delay against frequency\n"
    "                into FILE (SVG), which is written whole or not at all\n"
    "  --ql QL       response, batch --response: the Q of the box's losses, 7 if\n"
    "                left out\n"
    "  --from HZ     response: the table's lowest frequency, 10 if left out\n"
    "  --to HZ       response: its highest frequency, 200 if left out\n"
    "  --points N    response: how many frequencies, 2 to 10000, spaced\n"
    "                logarithmically; 61 if left out\n"
    "  --response    batch: adds the response's f3 and peak_db columns\n"
    "  --help        this text\n"
    "  --version     the version\n"
    "\n"
    "Exit status: 0 results filled, 1 results cleared (reason on standard error),\n"
    "2 floating point overflow (also a response beyond double precision), 64 usage\n"
    "error, 65 malformed CSV, 66 unreadable file, 74 output or FILE not written.\n";

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

// Prints the result texts as NAME=text lines or as one JSON object, says on
// standard error why they are missing (an overflow as the error box says
// it), and gives the exit status. `more` follows the texts: further lines,
// or further members of the object.
ExitStatus finish(bool json,
                  std::initializer_list<std::pair<const char*, const std::string&>> texts,
                  calc::Outcome outcome, const std::string& reason, std::string_view missing,
                  std::ostream& out, std::ostream& err, std::string_view more = {})
{
    if (json) {
        char separator = '{';
        for (const auto& [name, text] : texts) {
            out << separator << jsonString(name) << ':' << jsonString(text);
            separator = ',';
        }
        out << ",\"status\":" << jsonString(calc::outcomeName(outcome));
        if (!reason.empty())
            out << ",\"reason\":" << jsonString(reason);
        out << more << "}\n";
    } else {
        for (const auto& [name, text] : texts)
            out << name << '=' << text << '\n';
        out << more;
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

// The options, wherever they stand.
struct Options {
    bool json = false;
    bool csv = false;
    bool response = false; // batch: the response's columns too
    std::string svg;       // empty: no picture
    double ql = 7;
    double from = 10;
    double to = 200;
    int points = 61;
    std::vector<std::string> given; // the options' names, in order
};

// An option's number: the whole text one number as the fields write it,
// without blanks, and finite in double precision.
std::optional<double> optionNumber(const std::string& text)
{
    if (text.empty() || text.front() == ' ' || calc::numberPrefixLength(text) != text.size())
        return std::nullopt;
    const auto value = calc::textToExtended(text);
    if (!value || !std::isfinite(static_cast<double>(*value)))
        return std::nullopt;
    return static_cast<double>(*value);
}

std::optional<int> optionCount(const std::string& text)
{
    if (text.empty() || text.size() > 5
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(text);
}

// Reads the option at args[i] and the value after it (moving i onto the
// value); false, with the message written, when it is unknown or its value
// is not one it takes.
bool readOption(std::span<const std::string> args, std::size_t& i, Options& o, std::ostream& err)
{
    const std::string& name = args[i];
    auto refuse = [&](const std::string& what) {
        err << "ventbox-calc: " << what << "\n" << usageLine;
        return false;
    };
    if (name == "--json") {
        o.json = true;
    } else if (name == "--csv") {
        o.csv = true;
    } else if (name == "--response") {
        o.response = true;
    } else if (name == "--svg" || name == "--ql" || name == "--from" || name == "--to"
               || name == "--points") {
        if (i + 1 == args.size())
            return refuse(name + " needs a value");
        const std::string& value = args[++i];
        const std::string quotedValue = " \"" + value + "\"";
        if (name == "--svg") {
            if (value.empty())
                return refuse("--svg needs a file name");
            o.svg = value;
        } else if (name == "--points") {
            const auto n = optionCount(value);
            if (!n || *n < 2 || *n > 10000)
                return refuse("--points needs a whole number from 2 to 10000, not" + quotedValue);
            o.points = *n;
        } else {
            const auto v = optionNumber(value);
            if (!v || !(*v > 0))
                return refuse(name + " needs a positive number, not" + quotedValue);
            (name == "--ql" ? o.ql : name == "--from" ? o.from : o.to) = *v;
        }
    } else {
        return refuse("unknown option " + name);
    }
    o.given.push_back(name);
    return true;
}

// Refuses the first option given that `command` does not take.
bool takesOnly(const Options& o, std::string_view command,
               std::initializer_list<std::string_view> takes, std::ostream& err)
{
    for (const std::string& name : o.given) {
        if (std::find(takes.begin(), takes.end(), name) == takes.end()) {
            err << "ventbox-calc: " << name << " does not apply to " << command << "\n"
                << usageLine;
            return false;
        }
    }
    return true;
}

// The design as its response takes it, in double precision, from the
// stored values: the inputs as read and Fb as the recalculation stored it.
struct BoxDesign {
    double fs;
    double fb;
    VentedBox box;
};

BoxDesign boxDesign(const calc::DesignTexts& texts, const calc::DesignResult& r, double ql)
{
    std::array<calc::Extended, calc::designFieldCount> v{};
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = calc::textToReal(texts[i])->value();
    const auto [fs, qts, vas, rdc, re, s, vb] = v;
    const calc::Real48 fb = *r.storedFb;
    auto d = [](calc::Extended x) { return static_cast<double>(x); };
    const double qt = d(qts) * (d(rdc) + d(re)) / d(rdc);
    return {d(fs), d(fb.value()), {d(fb.value()) / d(fs), d(vas) / d(vb), qt, ql}};
}

// F3 and the peak of a filled design, or none when they leave double
// precision.
struct Summary {
    double f3;
    std::optional<Peak> peak;
};

std::optional<Summary> summary(const VentedResponse& response)
{
    const Summary s{response.f3(), response.peak()};
    if (!std::isfinite(s.f3)
        || (s.peak && !(std::isfinite(s.peak->hz) && std::isfinite(s.peak->db))))
        return std::nullopt;
    return s;
}

// The response after the design's lines: F3=, Peak= and the table.
std::string responseLines(const Summary& s, const std::vector<ResponsePoint>& table)
{
    std::string text = "F3=" + fixedText(s.f3, 2) + "\nPeak=";
    text += s.peak ? fixedText(s.peak->db, 2) + " dB at " + fixedText(s.peak->hz, 2) + " Hz"
                   : std::string("none");
    text += "\n";
    auto column = [&text](const std::string& cell) {
        text.append(cell.size() < 9 ? 9 - cell.size() : 0, ' ');
        text += cell;
    };
    column("Hz");
    column("dB");
    column("ms");
    text += "\n";
    for (const ResponsePoint& p : table) {
        column(fixedText(p.hz, 2));
        column(fixedText(p.db, 2));
        column(fixedText(p.delayMs, 2));
        text += "\n";
    }
    return text;
}

// The response's members of the JSON object, after the design's.
std::string responseJson(const Summary& s, const std::vector<ResponsePoint>& table)
{
    std::string json = ",\"f3\":" + numberText(s.f3) + ",\"peak\":";
    json += s.peak ? "{\"db\":" + numberText(s.peak->db) + ",\"hz\":" + numberText(s.peak->hz) + "}"
                   : std::string("null");
    json += ",\"points\":[";
    for (std::size_t i = 0; i < table.size(); ++i) {
        json += i == 0 ? "{\"hz\":" : ",{\"hz\":";
        json += numberText(table[i].hz) + ",\"db\":" + numberText(table[i].db)
            + ",\"delay_ms\":" + numberText(table[i].delayMs) + "}";
    }
    return json + "]";
}

std::string responseCsv(const std::vector<ResponsePoint>& table)
{
    std::string csv = "hz,db,delay_ms\n";
    for (const ResponsePoint& p : table)
        csv += numberText(p.hz) + ',' + numberText(p.db) + ',' + numberText(p.delayMs) + '\n';
    return csv;
}

ExitStatus runResponse(Options o, std::span<const std::string> args, std::ostream& out,
                       std::ostream& err)
{
    constexpr std::size_t fieldCount = calc::designFieldCount;
    const auto isOption = [](const std::string& a) { return a.starts_with("--"); };
    if (args.size() < fieldCount
        || std::any_of(args.begin(), args.begin() + fieldCount, isOption)) {
        err << "ventbox-calc: response needs seven field texts, then its options\n" << usageLine;
        return exitUsage;
    }
    for (std::size_t i = fieldCount; i < args.size(); ++i) {
        if (!isOption(args[i])) {
            err << "ventbox-calc: response takes seven field texts, then options, not " << args[i]
                << "\n"
                << usageLine;
            return exitUsage;
        }
        if (!readOption(args, i, o, err))
            return exitUsage;
    }
    if (!takesOnly(o, "response",
                   {"--json", "--csv", "--svg", "--ql", "--from", "--to", "--points"}, err))
        return exitUsage;
    if (o.json && o.csv) {
        err << "ventbox-calc: --json and --csv exclude each other\n" << usageLine;
        return exitUsage;
    }
    if (!(o.from < o.to)) {
        err << "ventbox-calc: --from must lie below --to\n" << usageLine;
        return exitUsage;
    }

    calc::DesignTexts texts;
    std::copy(args.begin(), args.begin() + fieldCount, texts.begin());
    const calc::DesignResult r = calc::recalculate(texts);
    if (r.outcome != calc::Outcome::Filled)
        return finish(o.json, {{"L", r.length}, {"Qtc", r.qtc}, {"Fb", r.fb}}, r.outcome,
                      designReason(r), "results cleared", out, err);

    const BoxDesign design = boxDesign(texts, r, o.ql);
    const VentedResponse response(design.fs, design.box);
    const auto s = summary(response);
    const std::vector<ResponsePoint> table =
        responseTable(response, logSpaced(o.from, o.to, o.points));
    const bool finite = std::all_of(table.begin(), table.end(), [](const ResponsePoint& p) {
        return std::isfinite(p.db) && std::isfinite(p.delayMs);
    });
    if (!s || !finite) {
        err << "ventbox-calc: the response of this design is beyond double precision\n";
        return exitOverflow;
    }

    if (!o.svg.empty()) {
        const std::string caption = "Fs " + texts[0] + " Hz, Qts " + texts[1] + ", Vas " + texts[2]
            + " l, Rdc " + texts[3] + " \u03a9, Re " + texts[4] + " \u03a9, S " + texts[5]
            + " cm\u00b2, Vb " + texts[6] + " l; Qtc " + r.qtc + ", Fb " + r.fb + " Hz, Ql "
            + numberText(o.ql);
        const std::string why =
            writeWhole(o.svg, responseSvg(response, {o.from, o.to, s->f3, s->peak, caption}));
        if (!why.empty()) {
            err << "ventbox-calc: " << why << "\n";
            return exitIoError;
        }
    }

    if (o.csv) {
        out << responseCsv(table);
        return exitOk;
    }
    return finish(o.json, {{"L", r.length}, {"Qtc", r.qtc}, {"Fb", r.fb}}, r.outcome, {},
                  "results cleared", out, err,
                  o.json ? responseJson(*s, table) : responseLines(*s, table));
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

ExitStatus runBatch(Options o, std::span<const std::string> args, std::istream& in,
                    std::ostream& out, std::ostream& err)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with("--"))
            names.push_back(args[i]);
        else if (!readOption(args, i, o, err))
            return exitUsage;
    }
    if (!takesOnly(o, "batch", {"--response", "--ql"}, err))
        return exitUsage;
    if (!o.response && !o.given.empty()) {
        err << "ventbox-calc: --ql applies only with --response\n" << usageLine;
        return exitUsage;
    }
    if (names.size() > 1) {
        err << "ventbox-calc: batch takes at most one file\n" << usageLine;
        return exitUsage;
    }
    std::ifstream file;
    std::istream* source = &in;
    if (!names.empty() && names[0] != "-") {
        file.open(names[0], std::ios::binary);
        if (!file) {
            err << "ventbox-calc: cannot read " << names[0] << "\n";
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
    out << "fs,qts,vas,rdc,re,s,vb,l,qtc,fb,status" << (o.response ? ",f3,peak_db\n" : "\n");

    while (reader.next(fields)) {
        if (fields.size() == 1 && fields[0].empty())
            continue; // a blank line
        if (fields.size() != calc::designFieldCount)
            return fail("expected 7 fields, found " + std::to_string(fields.size()));
        calc::DesignTexts texts;
        std::copy(fields.begin(), fields.end(), texts.begin());
        const calc::DesignResult r = calc::recalculate(texts);
        fields.insert(fields.end(),
                      {r.length, r.qtc, r.fb, std::string(calc::outcomeName(r.outcome))});
        if (o.response) {
            std::optional<Summary> s;
            if (r.outcome == calc::Outcome::Filled) {
                const BoxDesign design = boxDesign(texts, r, o.ql);
                s = summary(VentedResponse(design.fs, design.box));
            }
            fields.push_back(s ? numberText(s->f3) : "");
            fields.push_back(s && s->peak ? numberText(s->peak->db) : "");
        }
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
    Options options;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            out << usageLine << "\n" << helpText;
            return exitOk;
        }
        if (a == "--version") {
            out << "ventbox-calc " << VENTBOX_VERSION << "\n";
            return exitOk;
        }
        if (!readOption(args, i, options, err))
            return exitUsage;
    }
    if (i == args.size()) {
        err << usageLine;
        return exitUsage;
    }
    const std::string& command = args[i];
    const std::span<const std::string> rest = args.subspan(i + 1);
    if (command == "response")
        return runResponse(options, rest, out, err);
    if (command == "batch")
        return runBatch(options, rest, in, out, err);
    if (command != "design" && command != "area") {
        err << "ventbox-calc: unknown command " << command << "\n" << usageLine;
        return exitUsage;
    }
    if (!takesOnly(options, command, {"--json"}, err))
        return exitUsage;
    if (command == "design")
        return runDesign(options.json, rest, out, err);
    return runArea(options.json, rest, out, err);
}

} // namespace cli
