# Fails when a source of the engine includes a window header: Qt Widgets or
# Print Support, a widget or dialog class, or anything under src/gui/.
# Run as: cmake -DSOURCES=<file|file|...> -P no-window-headers.cmake
string(REPLACE "|" ";" sources "${SOURCES}")
set(window_header [[^[ 	]*#[ 	]*include[ 	]*[<"](QtWidgets|QtPrintSupport|Q[A-Za-z]*(Widget|Dialog)[>.]|QApplication|QMessageBox|QPrinter|gui/|controls/)]])
set(found "")
foreach(file ${sources})
  if(NOT file MATCHES "\\.(cpp|h|c)$" OR file MATCHES "/autogen/")
    continue()
  endif()
  file(STRINGS ${file} lines REGEX "${window_header}")
  foreach(line ${lines})
    string(APPEND found "\n  ${file}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "the engine includes window headers:${found}")
endif()
