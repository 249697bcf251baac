# Puts beside Windows programs exactly the DLLs they load, found by their
# imports, and removes the DLLs nothing loads any more:
#   cmake -DDEST=FOLDER -DPROGRAMS=a.exe|b.exe [-DPLUGINS=platforms/qwindows.dll|...]
#         [-DPLUGIN_DIR=QT/plugins] [-DSEARCH=DIR|DIR...] [-DSYSTEM_DIRS=DIR|...]
#         [-DTRANSLATIONS=FILE|...] [-DSTRIP=x86_64-w64-mingw32-strip]
#         -DOBJDUMP=x86_64-w64-mingw32-objdump -P deploy.cmake
# PROGRAMS are copied into DEST unless they are there already. PLUGINS, which
# Qt loads at run time and so no import names, go to the same folder under
# DEST as under PLUGIN_DIR. Each DLL imported, by a program, a plugin or a
# DLL shipped, is taken from the first SEARCH folder that has it (Qt's bin/,
# then the compiler's runtime), unless it is Windows' own: one of SYSTEM_DIRS
# (wine's DLLs) has it, or the list below names it. TRANSLATIONS go to
# DEST/translations.
cmake_minimum_required(VERSION 3.25)
foreach(required DEST PROGRAMS OBJDUMP)
  if(NOT ${required})
    message(FATAL_ERROR "deploy.cmake: ${required} is not given")
  endif()
endforeach()
file(REAL_PATH "${DEST}" DEST)
# Lists come joined with |, which a build command passes on unharmed.
foreach(list IN ITEMS PROGRAMS PLUGINS SEARCH SYSTEM_DIRS TRANSLATIONS)
  string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()

# Windows' own, which no install carries: those a Windows without wine's list
# has too, and the API sets, which are names, not files.
set(system_names
  advapi32 authz bcrypt comctl32 comdlg32 crypt32 d2d1 d3d9 d3d11 d3d12 dnsapi dwmapi dwrite dxgi gdi32
  imm32 iphlpapi kernel32 mpr msvcrt ncrypt netapi32 ntdll ole32 oleaut32 rpcrt4 secur32 setupapi shcore
  shell32 shlwapi user32 userenv uxtheme version winmm winspool.drv wintrust ws2_32 wtsapi32)
list(TRANSFORM system_names APPEND .dll)
foreach(dir IN LISTS SYSTEM_DIRS)
  file(GLOB found RELATIVE "${dir}" "${dir}/*.dll" "${dir}/*.drv")
  string(TOLOWER "${found}" found)
  list(APPEND system_names ${found})
endforeach()

# Names are compared as Windows compares them, without case.
function(resolve name result)
  string(TOLOWER "${name}" lower)
  foreach(dir IN LISTS SEARCH)
    file(GLOB candidates "${dir}/*.dll")
    foreach(candidate IN LISTS candidates)
      get_filename_component(file "${candidate}" NAME)
      string(TOLOWER "${file}" file)
      if(file STREQUAL lower)
        set(${result} "${candidate}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${result} "" PARENT_SCOPE)
endfunction()

function(imports file result)
  execute_process(COMMAND "${OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "deploy.cmake: ${OBJDUMP} cannot read ${file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
  list(TRANSFORM lines REPLACE "^DLL Name: " "")
  set(${result} ${lines} PARENT_SCOPE)
endfunction()

# file: where it comes from; target: where it goes, relative to DEST.
set(queue)
set(wanted)
set(sources)
foreach(program IN LISTS PROGRAMS)
  get_filename_component(name "${program}" NAME)
  list(APPEND queue "${program}")
  list(APPEND wanted "${name}")
  list(APPEND sources "${program}")
endforeach()
foreach(plugin IN LISTS PLUGINS)
  if(NOT EXISTS "${PLUGIN_DIR}/${plugin}")
    message(FATAL_ERROR "deploy.cmake: the plugin ${plugin} is not in ${PLUGIN_DIR}")
  endif()
  list(APPEND queue "${PLUGIN_DIR}/${plugin}")
  list(APPEND wanted "${plugin}")
  list(APPEND sources "${PLUGIN_DIR}/${plugin}")
endforeach()
set(seen)
while(queue)
  list(POP_FRONT queue file)
  imports("${file}" names)
  foreach(name IN LISTS names)
    string(TOLOWER "${name}" lower)
    if(lower IN_LIST seen OR lower IN_LIST system_names OR lower MATCHES "^(api|ext)-ms-win-")
      continue()
    endif()
    list(APPEND seen "${lower}")
    resolve("${name}" found)
    if(NOT found)
      message(FATAL_ERROR "deploy.cmake: ${file} imports ${name}, which is neither in ${SEARCH} nor Windows' own")
    endif()
    get_filename_component(shipped "${found}" NAME)
    list(APPEND queue "${found}")
    list(APPEND wanted "${shipped}")
    list(APPEND sources "${found}")
  endforeach()
endwhile()
foreach(translation IN LISTS TRANSLATIONS)
  get_filename_component(name "${translation}" NAME)
  list(APPEND wanted "translations/${name}")
  list(APPEND sources "${translation}")
endforeach()

# What is copied is stripped, with STRIP when given: Debian's libstdc++-6.dll
# alone carries 22 MB of symbols. A copy newer than its source is kept.
foreach(target source IN ZIP_LISTS wanted sources)
  set(copy "${DEST}/${target}")
  file(REAL_PATH "${source}" real)
  if(real STREQUAL copy OR (EXISTS "${copy}" AND NOT "${source}" IS_NEWER_THAN "${copy}"))
    continue()
  endif()
  get_filename_component(dir "${copy}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${source}" "${copy}")
  if(STRIP AND copy MATCHES "\\.(exe|dll)$")
    execute_process(COMMAND "${STRIP}" --strip-unneeded "${copy}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "deploy.cmake: ${STRIP} cannot strip ${copy}")
    endif()
  endif()
endforeach()

# What an earlier deployment put here and nothing loads now: DLLs beside the
# programs, plugins and translations in the folders this script fills.
file(GLOB old RELATIVE "${DEST}" "${DEST}/*.dll" "${DEST}/*/*.dll" "${DEST}/translations/*.qm")
foreach(file IN LISTS old)
  if(NOT file IN_LIST wanted)
    file(REMOVE "${DEST}/${file}")
    message(STATUS "Removed ${file}, which nothing loads")
  endif()
endforeach()
list(LENGTH wanted count)
message(STATUS "Deployed ${count} files to ${DEST}")
