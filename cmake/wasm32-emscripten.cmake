# Building for WebAssembly with Debian's emscripten, with
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-emscripten.cmake \
#         -DCMAKE_FIND_ROOT_PATH=<GMP and MPFR>
# where scripts/build-qt-windows mpfr-wasm built GMP and MPFR from Debian's
# sources. emscripten's own platform file does the rest; the programs it
# builds (ventbox-calc.js, the tests) run under Node, here without the
# thread flag that emcmake passes and Node 20 refuses.
find_program(VENTBOX_NODE_EMULATOR NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VENTBOX_NODE_EMULATOR} CACHE FILEPATH
    "Runs the programs built for WebAssembly")
execute_process(COMMAND em-config EMSCRIPTEN_ROOT OUTPUT_VARIABLE emscripten_root
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
include(${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)
