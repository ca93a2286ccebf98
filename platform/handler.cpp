#include "handler.h"

#include "application.h"

#include <QString>

#include <exception>
#include <stdexcept>
#include <string>

namespace platform {

void abortSilently()
{
    throw SilentAbort{};
}

void raiseError(std::string_view message)
{
    throw std::runtime_error(std::string(message));
}

void handleHandlerException() noexcept
{
    try {
        try {
            throw;
        } catch (const SilentAbort&) {
            // Ends the handler; no message, no beep.
        } catch (const std::exception& e) {
            Application::showError(QString::fromUtf8(e.what()));
        } catch (...) {
            Application::showError(QStringLiteral("Neznámá chyba"));
        }
    } catch (...) {
        // Showing the error failed (out of memory, say): nothing more can be
        // done, but the exception still must not reach Qt.
    }
}

} // namespace platform
