# Every project target links this to get the same warnings.
add_library(lumadot_warnings INTERFACE)
target_compile_options(lumadot_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
if(LUMADOT_WERROR)
  target_compile_options(lumadot_warnings INTERFACE -Werror)
endif()
