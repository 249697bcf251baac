# Every project target links this to get the same warnings.
add_library(lumadot_warnings INTERFACE)
target_compile_options(lumadot_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
if(LUMADOT_WERROR)
  target_compile_options(lumadot_warnings INTERFACE -Werror)
endif()

# mingw-w64's GCC 12, inlining std::string's own members at -O3, warns of
# overlapping copies, bytes out of bounds and members used uninitialized
# inside them (GCC bug 105329 among them): warnings, not errors, there.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(lumadot_warnings INTERFACE -Wno-restrict -Wno-error=array-bounds -Wno-error=maybe-uninitialized)
endif()
