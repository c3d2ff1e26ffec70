# Warning flags for the project's own targets only (never for Qt or GoogleTest).
add_library(tavolen_warnings INTERFACE)
target_compile_options(tavolen_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
  $<$<BOOL:${TAVOLEN_WERROR}>:-Werror>)
