# How the project's targets are made, so every folder's CMakeLists reads as a
# list of what it builds and what that needs.

# lumadot_add_library(NAME SOURCES files... [PUBLIC libs...] [PRIVATE libs...] [QT_FORMS])
# makes the static library lumadot_NAME, linked as lumadot::NAME. src/ is the
# include root of every library and of what links one ("extract/listing.h").
# QT_FORMS turns on moc, uic and rcc for a library of windows.
function(lumadot_add_library name)
  cmake_parse_arguments(ARG "QT_FORMS" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(lumadot_${name} STATIC ${ARG_SOURCES})
  add_library(lumadot::${name} ALIAS lumadot_${name})
  target_include_directories(lumadot_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_features(lumadot_${name} PUBLIC cxx_std_20)
  target_link_libraries(lumadot_${name} PUBLIC ${ARG_PUBLIC} PRIVATE lumadot_warnings ${ARG_PRIVATE})
  if(ARG_QT_FORMS)
    set_target_properties(lumadot_${name} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
  endif()
endfunction()

# lumadot_add_translations(TARGET lib NAME base TS_FILES base_LANG.ts... [SOURCES files...]) compiles each .ts
# into a .qm and embeds it in the library's resources as :/i18n/base_LANG.qm, where
# installTranslation(app, "base") finds it: nothing is installed beside the program.
# The target lib_lupdate (and update_translations, for every library) refreshes the
# .ts files from the library's sources and forms, or from SOURCES when a program's
# texts lie in several libraries.
function(lumadot_add_translations)
  cmake_parse_arguments(ARG "" "TARGET;NAME" "TS_FILES;SOURCES" ${ARGN})
  foreach(ts IN LISTS ARG_TS_FILES)
    get_filename_component(base "${ts}" NAME_WLE)
    if(NOT base MATCHES "^${ARG_NAME}_[a-z][a-z](_[A-Z][A-Z])?$")
      message(FATAL_ERROR "${ts}: a translation of ${ARG_NAME} is named ${ARG_NAME}_LANG.ts")
    endif()
  endforeach()
  set(sources)
  if(ARG_SOURCES)
    set(sources SOURCES ${ARG_SOURCES})
  endif()
  qt_add_translations(${ARG_TARGET} TS_FILES ${ARG_TS_FILES} ${sources} RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -source-language zh_CN -no-obsolete -locations none)
endfunction()

# lumadot_test_program(NAME) puts the program NAME in LUMADOT_TEST_BIN_DIR, away
# from the programs and fonts in LUMADOT_BIN_DIR.
function(lumadot_test_program name)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${LUMADOT_TEST_BIN_DIR}")
  # Builds made before it had a folder of its own left it in bin/.
  file(REMOVE "${LUMADOT_BIN_DIR}/${name}")
endfunction()

# lumadot_add_test(NAME SOURCES files... [LIBS libs...] [NEEDS targets...]
#                  [DEFINES defs...] [QT] [OWN_MAIN] [TIMEOUT seconds] [LABELS labels...])
# makes a test program, blind to the caller's LUMADOT_* variables, and
# registers it with ctest: each GoogleTest case on its own, or with QT the Qt
# Test program as one test on the offscreen platform. NEEDS names the programs
# and fonts it runs, built first; they are found through DEFINES
# (LUMADOT_BIN_DIR, LUMADOT_CLI_PATH), not beside the test. OWN_MAIN links
# GoogleTest without its main(). LABELS lets ctest -L pick or ctest -LE leave
# out its cases.
#
# Every test runs as if the caller's shell had pointed com16 somewhere, so a
# case that still read the caller's variables would fail here, not on a
# user's machine.
set(LUMADOT_CALLERS_VARIABLE "LUMADOT_COM16=/nonexistent/set-by-the-callers-shell")
function(lumadot_add_test name)
  cmake_parse_arguments(ARG "QT;OWN_MAIN" "TIMEOUT" "SOURCES;LIBS;NEEDS;DEFINES;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/tests/support/hermetic_environment.cpp")
  lumadot_test_program(${name})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} lumadot_warnings)
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
  if(LUMADOT_TEST_DLL_PATH)
    # Under wine the tests load Qt and the compiler's runtime from where they were built.
    set_target_properties(${name} PROPERTIES LUMADOT_SHARED_RUNTIME ON
      CROSSCOMPILING_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR};--dll-path;${LUMADOT_TEST_DLL_PATH}")
  endif()
  if(ARG_NEEDS)
    add_dependencies(${name} ${ARG_NEEDS})
  endif()
  if(ARG_QT)
    if(NOT ARG_TIMEOUT)
      set(ARG_TIMEOUT 120)
    endif()
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE lumadot::qt_test_support Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    # Real widgets on the offscreen platform: no display needed, nothing blocks.
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${LUMADOT_QT_TEST_ENVIRONMENT};${LUMADOT_CALLERS_VARIABLE}" TIMEOUT ${ARG_TIMEOUT})
    return()
  endif()
  if(ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(properties ENVIRONMENT "${LUMADOT_CALLERS_VARIABLE}")
  if(ARG_TIMEOUT)
    list(APPEND properties TIMEOUT ${ARG_TIMEOUT})
  endif()
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} NO_PRETTY_VALUES PROPERTIES ${properties})
endfunction()

# FreeType, which the Windows build links statically: its gzip reader then
# needs zlib named after it, as its shared library would have brought it.
macro(lumadot_find_freetype)
  find_package(Freetype REQUIRED)
  if(WIN32)
    find_package(ZLIB REQUIRED)
    set_property(TARGET Freetype::Freetype APPEND PROPERTY INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
  endif()
endmacro()
