#pragma once
// Event handlers and their guard.
//
// Every handler of the program runs inside runGuarded(): the silent abort
// ends a handler without a word, any other error ends it and is shown in
// the application's error box, and no exception ever travels through Qt's
// own frames.

#include <string_view>
#include <utility>

namespace platform {

// The silent abort: the last action of a handler that found an input of 0
// or less. Deliberately not a std::exception.
struct SilentAbort { };

[[noreturn]] void abortSilently();

// Ends a handler with an error: the guard shows `message` (UTF-8) followed
// by "." in the application's error box.
[[noreturn]] void raiseError(std::string_view message);

// Deals with the exception being handled: discards the silent abort, shows
// any other error in the application's error box. Never throws.
void handleHandlerException() noexcept;

// Runs `handler`; discards the silent abort, shows any other error in the
// application's error box and returns normally in every case. A template,
// so that wrapping every event costs no allocation.
template <typename F> void runGuarded(F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        handleHandlerException();
    }
}

// Wraps a handler for QObject::connect: the returned callable runs the
// handler inside runGuarded() with the signal's arguments.
template <typename F> auto guarded(F handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        runGuarded([&] { handler(std::forward<decltype(args)>(args)...); });
    };
}

// The same for a handler method of a window, which takes none of the
// signal's arguments: guarded(this, &TForm1::Edit1Change).
template <typename Object> auto guarded(Object* object, void (Object::*method)())
{
    return guarded([object, method](auto&&...) { (object->*method)(); });
}

} // namespace platform
