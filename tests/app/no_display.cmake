# No X server listens on display 4242, and no other platform is asked for.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          --unset=XDG_SESSION_TYPE DISPLAY=:4242 ${TAVOLEN}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  TIMEOUT 30)
if(NOT status STREQUAL "1")
  message(FATAL_ERROR "exit status ${status}, expected 1; standard error:\n${err}")
endif()
if(NOT err MATCHES "^tavolen: [^\n]*:4242\n$")
  message(FATAL_ERROR "expected one line naming the display on standard error, got:\n${err}")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "nothing expected on standard output, got:\n${out}")
endif()
