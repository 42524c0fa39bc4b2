# Building the programs for the browser with emscripten: the toolchain of the
# emscripten found on PATH (Debian's package, or any other), with what this
# build adds to it.
find_program(COURSEWORK_EMCC emcc REQUIRED)
get_filename_component(emscripten_root "${COURSEWORK_EMCC}" REALPATH)
get_filename_component(emscripten_root "${emscripten_root}" DIRECTORY)
include("${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

# emcc runs node scripts that need acorn. A node other than Debian's own does
# not look in Debian's folder of node modules, so it is named for every run
# of emcc: at configuration here, at build time through the launchers.
set(node_modules /usr/share/nodejs)
if(IS_DIRECTORY "${node_modules}" AND NOT "$ENV{NODE_PATH}" MATCHES "${node_modules}")
  if("$ENV{NODE_PATH}" STREQUAL "")
    set(ENV{NODE_PATH} "${node_modules}")
  else()
    set(ENV{NODE_PATH} "$ENV{NODE_PATH}:${node_modules}")
  endif()
endif()
set(CMAKE_CXX_COMPILER_LAUNCHER env "NODE_PATH=$ENV{NODE_PATH}")
set(CMAKE_CXX_LINKER_LAUNCHER env "NODE_PATH=$ENV{NODE_PATH}")
