# Builds the core, its tests and the browser page's module to WebAssembly with Debian's
# Emscripten; test programs run under Node, as the Windows build's run under Wine.
# The core's errors are C++ exceptions, and the write-behind thread's absence is met as one:
# WebAssembly's own exception handling, which every current browser and Node have.
# WebAssembly's SIMD and bulk memory, which every current browser and Node have, run the
# conversion to UTF-8 64 bytes at a time through its SSE2 code (Emscripten maps those intrinsics
# onto SIMD) and copy and fill memory in single instructions.
set(CMAKE_CXX_FLAGS_INIT
    "-fwasm-exceptions -msimd128 -msse2 -mbulk-memory -include ${CMAKE_CURRENT_LIST_DIR}/emscripten_libcxx_compat.h")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions -msimd128 -mbulk-memory -sALLOW_MEMORY_GROWTH=1")
# Emscripten's glue loads its .wasm with fetch wherever fetch exists, which under Node cannot read
# a file's path: without fetch it reads the file.
find_program(PELMORA_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELMORA_NODE} --no-experimental-fetch CACHE STRING "Runs the test programs")
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
