#pragma once
// The picture of a response: level and group delay against frequency on a
// logarithmic axis, as one SVG document, labelled in Czech.

#include "response.h"

#include <optional>
#include <string>

namespace cli {

struct ResponsePicture {
    double from; // Hz, the frequency axis
    double to;
    double f3;
    std::optional<Peak> peak;
    std::string caption; // the design, one line
};

std::string responseSvg(const VentedResponse& response, const ResponsePicture& picture);

// Writes `text` into a temporary file beside `path` and renames it into
// place, so that `path` is either whole or as it was. Returns what went
// wrong, or an empty text.
std::string writeWhole(const std::string& path, const std::string& text);

} // namespace cli
