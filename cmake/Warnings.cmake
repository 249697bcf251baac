# Every project target links this to get the same warnings.
add_library(lumadot_warnings INTERFACE)
target_compile_options(lumadot_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
if(LUMADOT_WERROR)
  target_compile_options(lumadot_warnings INTERFACE -Werror)
endif()

# mingw-w64's GCC 12 warns of overlapping copies inside std::string's own
# operator+ once it inlines them at -O3 (GCC bug 105329); the warning says
# nothing of our code there.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(lumadot_warnings INTERFACE -Wno-restrict)
endif()
