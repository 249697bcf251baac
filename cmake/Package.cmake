# `make package`: the install tree as lumadot_VERSION_ARCH.deb. The libraries it
# needs are read from the binaries (dpkg-shlibdeps); what they load at run time
# rather than link is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumadot)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Lumadot developers")
set(CPACK_PACKAGE_CONTACT "The Lumadot developers <dev@lumadot.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(LUMADOT_GUI)
  # Qt finds its window-system plugin at run time, and the captions are Chinese.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei | fonts-arphic-uming | fonts-noto-cjk")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "glyph bytes for 8051 LED dot-matrix signs")
# CPack puts the summary above this as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lumadot is for people who build LED dot-matrix signs driven by 8051
microcontrollers. It looks Chinese (GB2312) and single-byte text up in
16-dot raster fonts and writes the glyph bytes as an 8051 assembler
listing, as assembler or C source, raw or as Intel HEX, in the byte
layout the firmware reads. It can send them as a display frame over a
serial port to the sign, once or as a clock.
.
The package holds the desktop program (lumadot), the command-line tool
(lumadot-cli), the font builder (lumadot-mkfont), a simulated sign that
plays the frames a serial line carries (lumadot-sign), a workbench
window that shows the dots, bytes and output as you type and sends to
the sign (lumadot-workbench), and the fonts asc16 and hzk16 built from
GNU Unifont.")
include(CPack)
