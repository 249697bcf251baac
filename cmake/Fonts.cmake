# asc16 and hzk16 are built from GNU Unifont by our own font builder and
# placed beside the executables, where the programs look for them.
if(NOT EXISTS "${LUMADOT_UNIFONT_HEX}")
  message(FATAL_ERROR
    "GNU Unifont not found at ${LUMADOT_UNIFONT_HEX}.\n"
    "Install it with: sudo apt-get install unifont\n"
    "or point -DLUMADOT_UNIFONT_HEX=... at another unifont.hex.")
endif()

set(LUMADOT_FONT_FILES "${LUMADOT_BIN_DIR}/asc16" "${LUMADOT_BIN_DIR}/hzk16")
add_custom_command(
  OUTPUT ${LUMADOT_FONT_FILES}
  COMMAND lumadot-mkfont --unifont "${LUMADOT_UNIFONT_HEX}" --out "${LUMADOT_BIN_DIR}"
  DEPENDS lumadot-mkfont "${LUMADOT_UNIFONT_HEX}"
  COMMENT "Building asc16 and hzk16 from ${LUMADOT_UNIFONT_HEX}"
  VERBATIM)
add_custom_target(lumadot-fonts ALL DEPENDS ${LUMADOT_FONT_FILES})
