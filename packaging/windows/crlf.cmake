# Copies IN to OUT with Windows line ends and @VERSION@ filled in, for Notepad.
# cmake -P sets no policies: without them "@VERSION@" below would be read as
# the variable itself (CMP0053), and nothing would be filled in.
cmake_minimum_required(VERSION 3.25)
file(READ "${IN}" text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
