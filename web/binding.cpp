// The calculation core for the page (embind): the interface of
// ventbox-core.d.ts, on calc/ and nothing else.

#include "calc/design.h"
#include "calc/portarea.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

namespace {

using emscripten::val;

val recalculate(const val& texts)
{
    const auto given = emscripten::vecFromJSArray<std::string>(texts);
    calc::DesignTexts in;
    for (std::size_t i = 0; i < in.size() && i < given.size(); ++i)
        in[i] = given[i];
    const calc::DesignResult r = calc::recalculate(in);
    val out = val::object();
    out.set("outcome", std::string(calc::outcomeName(r.outcome)));
    out.set("length", r.length);
    out.set("qtc", r.qtc);
    out.set("fb", r.fb);
    if (r.storedQtc)
        out.set("shorten", calc::portMayBeShortened(*r.storedQtc) ? "ANO" : "NE");
    else
        out.set("shorten", val::null());
    const bool blamed = r.outcome == calc::Outcome::Empty || r.outcome == calc::Outcome::NotPositive;
    out.set("field", blamed ? static_cast<int>(r.field) : -1);
    return out;
}

val portArea(const std::string& shapeName, const val& dimensions, const std::string& count)
{
    calc::PortShape shape = calc::PortShape::Circle;
    if (shapeName == "rectangle")
        shape = calc::PortShape::Rectangle;
    else if (shapeName == "square")
        shape = calc::PortShape::Square;
    else if (shapeName == "triangle")
        shape = calc::PortShape::Triangle;
    std::vector<std::string> dims = emscripten::vecFromJSArray<std::string>(dimensions);
    dims.resize(calc::dimensionCount(shape));
    const calc::AreaResult r = calc::portArea(shape, dims, count);
    val out = val::object();
    out.set("outcome", std::string(calc::outcomeName(r.outcome)));
    out.set("text", r.text);
    return out;
}

int countFromText(const std::string& text)
{
    return calc::countFromText(text);
}

val countTextOnLeave(const std::string& text)
{
    const auto bound = calc::countTextOnLeave(text);
    return bound ? val(*bound) : val::null();
}

std::string countTextStepped(const std::string& text, int delta)
{
    return calc::countTextStepped(text, delta);
}

bool decimalKeyPasses(const std::string& character)
{
    // One character, UTF-8: only a one-byte one can pass.
    return character.size() == 1
        && calc::decimalKeyPasses(static_cast<unsigned char>(character[0]));
}

} // namespace

EMSCRIPTEN_BINDINGS(ventbox)
{
    emscripten::function("recalculate", &recalculate);
    emscripten::function("portArea", &portArea);
    emscripten::function("countFromText", &countFromText);
    emscripten::function("countTextOnLeave", &countTextOnLeave);
    emscripten::function("countTextStepped", &countTextStepped);
    emscripten::function("decimalKeyPasses", &decimalKeyPasses);
    emscripten::constant("countMinimum", calc::countMinimum);
    emscripten::constant("countMaximum", calc::countMaximum);
    emscripten::constant("overflowMessage", std::string(calc::overflowMessage));
}
