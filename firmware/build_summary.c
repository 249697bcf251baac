/* Not part of the image: the build preprocesses this with a firmware's
   options to learn the part's sizes and the longest message its frame
   buffers hold (cmake/LumadotFirmware.cmake), so both come from board.h. */
#include "board.h"

lumadot_firmware_part PART_NAME
lumadot_firmware_code PART_CODE_BYTES
lumadot_firmware_xram (XRAM_BYTES - HUB12_PANELS_BYTES)
lumadot_firmware_buffers FRAME_BUFFERS
lumadot_firmware_characters FRAME_HELD_CHARACTERS
lumadot_firmware_modules (PANEL_HUB12 * PANEL_COLUMNS / 32)
lumadot_firmware_columns PANEL_COLUMNS
