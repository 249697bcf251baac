# The sign's firmware, built by sdcc for the 8051: lumadot_add_firmware(NAME
# [OPTIONS -DNAME=VALUE...]) compiles firmware/*.c into ${CMAKE_BINARY_DIR}/firmware/NAME.hex
# with NAME.map beside it (target NAME-firmware). The part (-DPART_...) sets how much code
# and XRAM the link may use, and SUMMARY prints the longest message the image holds.
find_program(LUMADOT_SDCC sdcc)
find_program(LUMADOT_PACKIHX packihx)

set(LUMADOT_FIRMWARE_SOURCES sign.c serial.c scan.c hub12.c effect.c frame_reader.c part.c)
set(LUMADOT_FIRMWARE_HEADERS board.h part.h sign.h serial.h scan.h hub12.h effect.h frame_reader.h
    parts/stc12c5a60s2.h parts/stc15w4k56s4.h parts/stc8h8k64u.h parts/stc_timer2.h)
# The frame's numbers, which the host's src/frame and src/sign are built from too.
set(LUMADOT_FIRMWARE_SHARED_HEADERS src/frame/frame_layout.h)
# --nooverlay: the serial interrupt calls functions, whose locals must not share
# memory with those of the main loop it interrupts.
set(LUMADOT_FIRMWARE_FLAGS -mmcs51 --model-small --std-c99 --opt-code-speed --nooverlay "-I${PROJECT_SOURCE_DIR}/src")

# What board.h makes of OPTIONS, as build_summary.c spells it: sets
# <PREFIX>_PART, _CODE, _XRAM, _BUFFERS, _CHARACTERS, _MODULES (of P10, or 0)
# and _COLUMNS, or nothing when
# board.h refuses the options (the build then stops on its #error).
function(lumadot_firmware_summary PREFIX)
  execute_process(COMMAND "${LUMADOT_SDCC}" ${LUMADOT_FIRMWARE_FLAGS} ${ARGN} -E
                          "${PROJECT_SOURCE_DIR}/firmware/build_summary.c"
                  OUTPUT_VARIABLE text ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    return()
  endif()
  foreach(field PART CODE XRAM BUFFERS CHARACTERS MODULES COLUMNS)
    string(TOLOWER "${field}" name)
    if(NOT text MATCHES "lumadot_firmware_${name} ([^\n]*)")
      return()
    endif()
    set(value "${CMAKE_MATCH_1}")
    if(field STREQUAL "PART")
      string(REPLACE "\"" "" value "${value}")
    else()
      math(EXPR value "${value}")
    endif()
    set(${PREFIX}_${field} "${value}" PARENT_SCOPE)
  endforeach()
endfunction()

function(lumadot_add_firmware NAME)
  cmake_parse_arguments(FW "SUMMARY" "" "OPTIONS" ${ARGN})
  lumadot_firmware_summary(part ${FW_OPTIONS})
  if(DEFINED part_CODE)
    math(EXPR code_size "${part_CODE}" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR xram_size "${part_XRAM}" OUTPUT_FORMAT HEXADECIMAL)
    set(link_flags --code-size ${code_size} --xram-size ${xram_size} --iram-size 256)
    if(FW_SUMMARY)
      math(EXPR bytes "${part_CHARACTERS} * 2")
      set(buffers "two frame buffers")
      if(part_BUFFERS EQUAL 1)
        set(buffers "one frame buffer")
      endif()
      set(panel "a row-scanned panel of ${part_COLUMNS} columns")
      if(part_MODULES EQUAL 1)
        set(panel "1 P10 module")
      elseif(part_MODULES GREATER 1)
        set(panel "${part_MODULES} P10 modules (${part_COLUMNS} columns)")
      endif()
      message(STATUS "Firmware ${NAME}: ${part_PART}, ${panel}, ${buffers}, messages up to ${part_CHARACTERS} "
                     "characters 16 dots wide (${bytes} single-byte ones)")
    endif()
  else()
    set(link_flags --iram-size 256)
  endif()
  set(dir "${CMAKE_BINARY_DIR}/firmware/${NAME}.build")
  set(out "${CMAKE_BINARY_DIR}/firmware/${NAME}")
  set(headers)
  foreach(header ${LUMADOT_FIRMWARE_HEADERS})
    list(APPEND headers "${PROJECT_SOURCE_DIR}/firmware/${header}")
  endforeach()
  foreach(header ${LUMADOT_FIRMWARE_SHARED_HEADERS})
    list(APPEND headers "${PROJECT_SOURCE_DIR}/${header}")
  endforeach()
  set(objects)
  foreach(source ${LUMADOT_FIRMWARE_SOURCES})
    get_filename_component(stem "${source}" NAME_WE)
    add_custom_command(OUTPUT "${dir}/${stem}.rel"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
      COMMAND "${LUMADOT_SDCC}" ${LUMADOT_FIRMWARE_FLAGS} ${FW_OPTIONS} -c
              "${PROJECT_SOURCE_DIR}/firmware/${source}" -o "${dir}/${stem}.rel"
      DEPENDS "${PROJECT_SOURCE_DIR}/firmware/${source}" ${headers}
      COMMENT "sdcc ${NAME}: ${source}" VERBATIM)
    list(APPEND objects "${dir}/${stem}.rel")
  endforeach()
  add_custom_command(OUTPUT "${out}.hex" "${out}.map"
    COMMAND "${LUMADOT_SDCC}" ${LUMADOT_FIRMWARE_FLAGS} ${link_flags} ${objects} -o "${dir}/${NAME}.ihx"
    COMMAND "${CMAKE_COMMAND}" -E copy "${dir}/${NAME}.map" "${out}.map"
    COMMAND "${CMAKE_COMMAND}" "-DMEM=${dir}/${NAME}.mem" "-DNAME=${NAME}" "-DPART=${part_PART}"
            -P "${PROJECT_SOURCE_DIR}/cmake/FirmwareMemory.cmake"
    COMMAND sh -c "\"$1\" \"$2\" > \"$3\"" packihx "${LUMADOT_PACKIHX}" "${dir}/${NAME}.ihx" "${out}.hex"
    DEPENDS ${objects} "${PROJECT_SOURCE_DIR}/cmake/FirmwareMemory.cmake"
    COMMENT "sdcc ${NAME}: ${NAME}.hex" VERBATIM)
  add_custom_target(${NAME}-firmware ALL DEPENDS "${out}.hex")
endfunction()
