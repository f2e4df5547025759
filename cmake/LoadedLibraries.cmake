# The libraries loaded on first use (src/platform/SharedLibrary.h): CUPS,
# zint, libxlsxwriter and minizip; and fontconfig, which the program's
# launcher loads to read the fonts' configuration while it loads the rest
# (src/app/FontWarmUp.h). Each is loaded by the name the linker would record
# for it, the SONAME of the -dev package's link, read here at configure time:
# a library update that changes it is caught by a rebuild, never by a failure
# at run time, and no name is written by hand in the sources.
#
# Sets STICKER2_SONAME_<NAME> (e.g. libcups.so.2), writes them to
# generated/LoadedLibraries.h for the sources, and STICKER2_LOADED_DEPENDS:
# the Debian packages that hold them, as dpkg-shlibdeps would name them from
# their shlibs files (e.g. "libzint2.11 (>= 2.11.1)"), for the package's
# Depends, since the shared-library scan sees only linked libraries. The same
# list is written to ${CMAKE_BINARY_DIR}/loaded-libraries.depends for
# debian/rules.

set(STICKER2_LOADED_DEPENDS "")

function(sticker2_loaded_library name)
  string(TOUPPER "${name}" upper)
  find_library(STICKER2_LINK_${upper} NAMES ${name} NO_CACHE)
  if(NOT STICKER2_LINK_${upper})
    message(FATAL_ERROR "lib${name}.so is not installed: install its -dev package (tools/deps.sh)")
  endif()
  get_filename_component(real "${STICKER2_LINK_${upper}}" REALPATH)
  execute_process(COMMAND ${CMAKE_READELF} -d "${real}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed
    ERROR_QUIET)
  string(REGEX MATCH "Library soname: \\[([^]]+)\\]" found "${dynamic}")
  if(failed OR NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "${real} names no SONAME (readelf: ${CMAKE_READELF})")
  endif()
  set(soname "${CMAKE_MATCH_1}")
  set(STICKER2_SONAME_${upper} "${soname}" PARENT_SCOPE)
  message(STATUS "Loaded on first use: ${soname}")

  # The package that holds the library under its SONAME, and the dependency
  # its shlibs file gives ("libzint 2.11 libzint2.11 (>= 2.11.1)").
  find_program(DPKG_QUERY dpkg-query)
  if(NOT DPKG_QUERY)
    return()
  endif()
  get_filename_component(folder "${real}" DIRECTORY)
  execute_process(COMMAND ${DPKG_QUERY} -S "${folder}/${soname}" OUTPUT_VARIABLE owner ERROR_QUIET)
  string(REGEX MATCH "^([^:,]+)" package "${owner}")
  if(NOT package)
    return()
  endif()
  set(depends "${package}")
  execute_process(COMMAND ${DPKG_QUERY} --control-path "${package}" shlibs OUTPUT_VARIABLE shlibs_file
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  string(REGEX MATCH "^lib(.+)\\.so\\.(.+)$" parts "${soname}")
  set(library "${CMAKE_MATCH_1}")
  set(version "${CMAKE_MATCH_2}")
  foreach(file ${shlibs_file})
    if(EXISTS "${file}")
      file(STRINGS "${file}" lines)
      foreach(line ${lines})
        if(line MATCHES "^lib${library} ${version} (.+)$")
          set(depends "${CMAKE_MATCH_1}")
        endif()
      endforeach()
    endif()
  endforeach()
  set(STICKER2_LOADED_DEPENDS "${STICKER2_LOADED_DEPENDS};${depends}" PARENT_SCOPE)
endfunction()

if(NOT CMAKE_READELF)
  find_program(CMAKE_READELF readelf REQUIRED)
endif()
foreach(name cups zint xlsxwriter minizip fontconfig)
  sticker2_loaded_library(${name})
endforeach()
list(REMOVE_ITEM STICKER2_LOADED_DEPENDS "")
list(JOIN STICKER2_LOADED_DEPENDS ", " STICKER2_LOADED_DEPENDS)
file(WRITE ${CMAKE_BINARY_DIR}/loaded-libraries.depends "${STICKER2_LOADED_DEPENDS}\n")
configure_file(${PROJECT_SOURCE_DIR}/src/LoadedLibraries.h.in
  ${CMAKE_BINARY_DIR}/src/generated/LoadedLibraries.h @ONLY)
