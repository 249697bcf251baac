# The sign's firmware, built by sdcc for the 8051: lumadot_add_firmware(NAME
# [OPTIONS -DNAME=VALUE...]) compiles firmware/*.c into ${CMAKE_BINARY_DIR}/firmware/NAME.hex
# with NAME.map beside it (target NAME-firmware); the link fails when the code passes 8 KB.
find_program(LUMADOT_SDCC sdcc)
find_program(LUMADOT_PACKIHX packihx)

set(LUMADOT_FIRMWARE_SOURCES sign.c serial.c scan.c hub12.c effect.c frame_reader.c)
set(LUMADOT_FIRMWARE_HEADERS board.h sign.h serial.h scan.h hub12.h effect.h frame_reader.h)
# The frame's numbers, which the host's src/frame and src/sign are built from too.
set(LUMADOT_FIRMWARE_SHARED_HEADERS src/frame/frame_layout.h)
# --nooverlay: the serial interrupt calls functions, whose locals must not share
# memory with those of the main loop it interrupts.
set(LUMADOT_FIRMWARE_FLAGS -mmcs51 --model-small --std-c99 --opt-code-speed --nooverlay "-I${PROJECT_SOURCE_DIR}/src")
set(LUMADOT_FIRMWARE_LINK_FLAGS --xram-size 0x8000 --code-size 0x2000 --iram-size 256)

function(lumadot_add_firmware NAME)
  cmake_parse_arguments(FW "" "" "OPTIONS" ${ARGN})
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
    COMMAND "${LUMADOT_SDCC}" ${LUMADOT_FIRMWARE_FLAGS} ${LUMADOT_FIRMWARE_LINK_FLAGS} ${objects} -o "${dir}/${NAME}.ihx"
    COMMAND "${CMAKE_COMMAND}" -E copy "${dir}/${NAME}.map" "${out}.map"
    COMMAND sh -c "\"$1\" \"$2\" > \"$3\"" packihx "${LUMADOT_PACKIHX}" "${dir}/${NAME}.ihx" "${out}.hex"
    DEPENDS ${objects}
    COMMENT "sdcc ${NAME}: ${NAME}.hex" VERBATIM)
  add_custom_target(${NAME}-firmware ALL DEPENDS "${out}.hex")
endfunction()
