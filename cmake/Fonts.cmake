# asc16 and hzk16 are built by our own font builder and placed beside the
# executables, where the programs look for them: from GNU Unifont, or from
# LUMADOT_FONT_FILE when the person building chooses another font.
if(LUMADOT_FONT_FILE)
  if(NOT EXISTS "${LUMADOT_FONT_FILE}")
    message(FATAL_ERROR "LUMADOT_FONT_FILE ${LUMADOT_FONT_FILE} does not exist.")
  endif()
  set(LUMADOT_FONT_SOURCE "${LUMADOT_FONT_FILE}")
  set(LUMADOT_FONT_OPTIONS --font "${LUMADOT_FONT_FILE}" --face "${LUMADOT_FONT_FACE}")
else()
  if(NOT EXISTS "${LUMADOT_UNIFONT_HEX}")
    message(FATAL_ERROR
      "GNU Unifont not found at ${LUMADOT_UNIFONT_HEX}.\n"
      "Install it with: sudo apt-get install unifont\n"
      "or point -DLUMADOT_UNIFONT_HEX=... at another unifont.hex.")
  endif()
  set(LUMADOT_FONT_SOURCE "${LUMADOT_UNIFONT_HEX}")
  set(LUMADOT_FONT_OPTIONS --unifont "${LUMADOT_UNIFONT_HEX}")
endif()

set(LUMADOT_FONT_FILES "${LUMADOT_BIN_DIR}/asc16" "${LUMADOT_BIN_DIR}/hzk16")
# The folder is made here rather than left to the generator: Unix Makefiles, unlike Ninja, do not.
add_custom_command(
  OUTPUT ${LUMADOT_FONT_FILES}
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${LUMADOT_BIN_DIR}"
  COMMAND lumadot-mkfont ${LUMADOT_FONT_OPTIONS} --out "${LUMADOT_BIN_DIR}"
  DEPENDS lumadot-mkfont "${LUMADOT_FONT_SOURCE}"
  COMMENT "Building asc16 and hzk16 from ${LUMADOT_FONT_SOURCE}"
  VERBATIM)
add_custom_target(lumadot-fonts ALL DEPENDS ${LUMADOT_FONT_FILES})
