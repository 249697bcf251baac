# Run after a firmware's link (cmake -DMEM=NAME.mem -DNAME=... -DPART=... -P):
# reads sdcc's memory summary and stops the build, naming the image and the
# part, when its code, its XRAM or the stack the interrupts need do not fit.
# The scan and the serial interrupt may nest, each pushing a dozen bytes
# over the main loop's calls.
set(min_stack 40)
file(READ "${MEM}" text)
foreach(area xram code)
  set(label "EXTERNAL RAM")
  if(area STREQUAL "code")
    set(label "ROM/EPROM/FLASH")
  endif()
  # "EXTERNAL RAM     0x0001   0x03f9    1017     1024", or without the
  # addresses when the area is empty.
  if(text MATCHES "${label} +0x[0-9a-f]+ +0x[0-9a-f]+ +([0-9]+) +([0-9]+)")
    set(${area}_used "${CMAKE_MATCH_1}")
    set(${area}_max "${CMAKE_MATCH_2}")
  elseif(text MATCHES "${label} +([0-9]+) +([0-9]+)")
    set(${area}_used "${CMAKE_MATCH_1}")
    set(${area}_max "${CMAKE_MATCH_2}")
  else()
    message(FATAL_ERROR "${NAME}: no ${label} in ${MEM}")
  endif()
  if(${area}_used GREATER ${area}_max)
    message(FATAL_ERROR "${NAME} (${PART}): ${${area}_used} bytes of ${label}, the part has ${${area}_max}")
  endif()
endforeach()
if(NOT text MATCHES "with ([0-9]+) bytes available")
  message(FATAL_ERROR "${NAME}: no stack in ${MEM}")
endif()
set(stack "${CMAKE_MATCH_1}")
if(stack LESS min_stack)
  message(FATAL_ERROR "${NAME} (${PART}): ${stack} bytes left for the stack, the interrupts need ${min_stack}")
endif()
message(STATUS "${NAME} (${PART}): code ${code_used} of ${code_max} bytes, XRAM ${xram_used} of ${xram_max}, "
               "stack ${stack} bytes")
