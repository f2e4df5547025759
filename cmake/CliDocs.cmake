# Writes the manual page and the bash completion from the program's command
# table (src/cli/CommandTable.cpp, src/cli/OptionTables.cpp), run by the build
# (cmake/Packaging.cmake) whenever the program is linked anew:
#   cmake -DPROGRAM=sticker2 -DTEMPLATE=sticker2.1.in -DMANUAL=sticker2.1
#         -DCOMPLETION=sticker2.bash-completion -DHOME_DIR=scratch -P CliDocs.cmake
# The template is the manual written by hand; its lines @STICKER2_SYNOPSIS@ and
# @STICKER2_OPTIONS@ become `sticker2 --dump-options synopsis` and `man`.
foreach(variable PROGRAM TEMPLATE MANUAL COMPLETION HOME_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "CliDocs.cmake needs -D${variable}=...")
  endif()
endforeach()

# The program runs as in a clean account: no display, English, and settings
# and data folders of its own, never the builder's.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{LANGUAGE} en)
set(ENV{LC_ALL} C.UTF-8)
set(ENV{XDG_CONFIG_HOME} ${HOME_DIR}/config)
set(ENV{XDG_DATA_HOME} ${HOME_DIR}/data)
file(MAKE_DIRECTORY ${HOME_DIR}/config ${HOME_DIR}/data)

function(dump what variable)
  execute_process(COMMAND ${PROGRAM} --dump-options ${what}
    OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR text STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --dump-options ${what} failed (${status}): ${errors}")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

dump(synopsis synopsis)
dump(man options)
dump(bash completion)

file(READ ${TEMPLATE} manual)
foreach(marker SYNOPSIS OPTIONS)
  string(FIND "${manual}" "@STICKER2_${marker}@\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE}: the line @STICKER2_${marker}@ is missing")
  endif()
endforeach()
string(REPLACE "@STICKER2_SYNOPSIS@\n" "${synopsis}" manual "${manual}")
string(REPLACE "@STICKER2_OPTIONS@\n" "${options}" manual "${manual}")

# Whole or not at all: each file written beside its place, then renamed.
file(WRITE ${MANUAL}.new "${manual}")
file(RENAME ${MANUAL}.new ${MANUAL})
file(WRITE ${COMPLETION}.new "${completion}")
file(RENAME ${COMPLETION}.new ${COMPLETION})
