# Copies IN to OUT with Windows line ends and @VERSION@ filled in, for Notepad;
# with BOM=ON it begins with UTF-8's byte order mark, without which an older
# Notepad reads Chinese in the ANSI code page. The paragraphs between
# @GUI@ and @END@ stay only when GUI is on, the zip then holding the windows.
# cmake -P sets no policies: without them "@VERSION@" below would be read as
# the variable itself (CMP0053), and nothing would be filled in.
cmake_minimum_required(VERSION 3.25)
file(READ "${IN}" text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
if(GUI)
  string(REGEX REPLACE "@(GUI|END)@\n" "" text "${text}")
else()
  string(REGEX REPLACE "@GUI@\n[^@]*@END@\n" "" text "${text}")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
if(BOM)
  string(ASCII 239 187 191 bom)
  string(PREPEND text "${bom}")
endif()
file(WRITE "${OUT}" "${text}")
