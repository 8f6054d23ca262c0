# One place for the warning flags every target of ours gets.
add_library(lanzhou_warnings INTERFACE)
target_compile_options(lanzhou_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  $<$<BOOL:${LANZHOU_WERROR}>:-Werror>)
