# Warnings are errors everywhere in our own code. Qt's headers come in as
# system headers (imported targets), so they do not trip these.
set(VENTBOX_WARNINGS
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align
    -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough
    -Wmissing-declarations -Wundef -Wvla)

# The calculation core also refuses silent narrowing: every conversion
# between precisions there must be visible in the code.
set(VENTBOX_STRICT_WARNINGS -Wconversion -Wsign-conversion -Wdouble-promotion
    -Wold-style-cast -Wuseless-cast)

add_compile_options(${VENTBOX_WARNINGS})
