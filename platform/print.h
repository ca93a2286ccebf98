#pragma once
// Printing one page straight to the default printer: portrait, no print
// dialog, an empty job title, the page's origin at the top-left corner of
// the printable area, and a progress window while the page is produced.

#include <functional>

class QPainter;
class QPrinter;

namespace platform {

using PagePainter = std::function<void(QPainter&)>;

// Prints the page that `paint` paints on the default printer. Throws
// std::runtime_error, its message Czech without a closing full stop, when
// there is no default printer or the job cannot be produced.
void printPage(const PagePainter& paint);

// Produces the page on `printer`, which the caller has set up; throws as
// above when the printer cannot be painted on.
void printPage(QPrinter& printer, const PagePainter& paint);

} // namespace platform
