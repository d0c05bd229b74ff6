# Builds the portable core as WebAssembly with Debian's emscripten; test
# programs run under node.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# emcc's optimiser needs node's modules from Debian's packages (acorn).
set(ENV{NODE_PATH} /usr/share/nodejs)
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)

find_program(QM_NODE NAMES node nodejs REQUIRED)
# The loader's fetch fails under node 20 for a local file; read it directly.
set(CMAKE_CROSSCOMPILING_EMULATOR ${QM_NODE} --no-experimental-fetch)
# Test programs: a growing heap, the exit status passed on to ctest.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sENVIRONMENT=node -sTOTAL_STACK=4MB")
# The library's strings are compiled for size (-Oz) and linked in as
# finished code, so every push_back or append of the core was a chain of
# calls into it. With the library's templates instantiated in our own code,
# at our own level, reading and converting a quantity took a third less
# time, for 15 KB more of module.
# (The toolchain file is read more than once.)
if(NOT CMAKE_CXX_FLAGS_INIT MATCHES "_LIBCPP_DISABLE_EXTERN_TEMPLATE")
  string(APPEND CMAKE_CXX_FLAGS_INIT " -D_LIBCPP_DISABLE_EXTERN_TEMPLATE")
endif()
