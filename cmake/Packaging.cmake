# Installing and the Debian package.
#
#   cmake --install build [--prefix P]    (DESTDIR honoured) the program, its
#       desktop entry, MIME type, icon, AppStream metainfo, manual page, bash
#       completion and the CUPS capture backend
#   cpack -G DEB                           (in the build folder) the .deb
include(GNUInstallDirs)

# The desktop entry, the metainfo and the icon are named after this id.
set(STICKER2_APP_ID "io.github.sticker2.Sticker2")
set(STICKER2_RELEASE_DATE "2026-12-06")
set(STICKER2_HOMEPAGE "https://github.com/sticker2/sticker2"
  CACHE STRING "The project's home page (AppStream metainfo)")
set(STICKER2_SCREENSHOT "${STICKER2_HOMEPAGE}/raw/main/data/screenshots/report-view.png"
  CACHE STRING "The address of the screenshot the AppStream metainfo shows")
set(STICKER2_MAINTAINER "Sticker2 Maintainers <maintainers@sticker2.invalid>"
  CACHE STRING "Maintainer field of the Debian package")

# The CUPS backend: plain C, no Qt; only the exit codes come from <cups/backend.h>.
add_executable(sticker2-backend ${PROJECT_SOURCE_DIR}/src/backend/sticker2-backend.c)
set_target_properties(sticker2-backend PROPERTIES OUTPUT_NAME sticker2 AUTOMOC OFF
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/backend)
target_include_directories(sticker2-backend PRIVATE ${CUPS_INCLUDE_DIR})
target_compile_options(sticker2-backend PRIVATE -Wall -Wextra)

set(data ${PROJECT_SOURCE_DIR}/data)
set(generated ${CMAKE_BINARY_DIR}/data)
configure_file(${data}/sticker2.desktop.in ${generated}/${STICKER2_APP_ID}.desktop @ONLY)
configure_file(${data}/sticker2.metainfo.xml.in ${generated}/${STICKER2_APP_ID}.metainfo.xml @ONLY)
configure_file(${data}/sticker2-pdf@.service.in ${generated}/sticker2-pdf@.service @ONLY)
configure_file(${data}/sticker2-watch-autostart.desktop.in ${generated}/sticker2-watch.desktop @ONLY)
# The manual page and the bash completion: their synopsis, option lists and
# completions are made from the program's command table, by the program
# itself, whenever it or a module holding the command table is linked anew;
# the rest of the manual is written by hand in data/sticker2.1.in.
add_custom_command(OUTPUT ${generated}/sticker2.1 ${generated}/sticker2.bash-completion
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:sticker2> -DTEMPLATE=${data}/sticker2.1.in
    -DMANUAL=${generated}/sticker2.1 -DCOMPLETION=${generated}/sticker2.bash-completion
    -DHOME_DIR=${CMAKE_BINARY_DIR}/cli-docs-home -P ${PROJECT_SOURCE_DIR}/cmake/CliDocs.cmake
  DEPENDS sticker2 sticker2coremodule sticker2commands sticker2full ${data}/sticker2.1.in ${PROJECT_SOURCE_DIR}/cmake/CliDocs.cmake
  COMMENT "Writing the manual page and the bash completion from the command table" VERBATIM)
add_custom_command(OUTPUT ${generated}/sticker2.1.gz
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${generated}/sticker2.1 ${generated}/sticker2.1.gz
  DEPENDS ${generated}/sticker2.1 VERBATIM)
add_custom_target(sticker2-cli-docs ALL DEPENDS ${generated}/sticker2.1.gz ${generated}/sticker2.bash-completion)

install(TARGETS sticker2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The rest of the program, which sticker2 loads when a command line needs it,
# in the program's private library folder (src/app/ProgramModule.h).
install(TARGETS sticker2coremodule sticker2full sticker2commands LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/sticker2)
# Beside it, the module that holds poppler, qpdf and GMime, loaded on their
# first use (src/platform/LibraryModule.h).
install(TARGETS sticker2libraries LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/sticker2)
# CUPS looks in <prefix>/lib/cups/backend, never in a multiarch folder. Mode
# 0755, so cupsd runs it as its unprivileged user (lp), not as root.
install(TARGETS sticker2-backend RUNTIME DESTINATION lib/cups/backend
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(FILES ${generated}/${STICKER2_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${STICKER2_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data}/sticker2-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME sticker2.xml)
install(FILES ${data}/sticker2.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${STICKER2_APP_ID}.svg)
install(FILES ${generated}/sticker2.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# bash-completion loads it on the first completion of sticker2, from its own
# folder (pkg-config bash-completion) when installing into /usr, else from
# share/bash-completion/completions under the prefix.
set(BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  pkg_get_variable(BASH_COMPLETION_DIR_FOUND bash-completion completionsdir)
  if(BASH_COMPLETION_DIR_FOUND)
    set(BASH_COMPLETION_DIR ${BASH_COMPLETION_DIR_FOUND})
  endif()
endif()
set(STICKER2_BASH_COMPLETION_DIR "${BASH_COMPLETION_DIR}" CACHE STRING "Where the bash completion is installed")
install(FILES ${generated}/sticker2.bash-completion DESTINATION ${STICKER2_BASH_COMPLETION_DIR} RENAME sticker2)
# The virtual PDF printer's service (a template: the instance is the output
# folder) and the window watch's autostart entry, off until a user turns it on.
# Configured for /usr: systemd's own folder (Debian 12: /lib/systemd/system)
# and /etc/xdg/autostart; for any other prefix, lib/systemd/system and
# etc/xdg/autostart under it.
set(SYSTEMD_UNIT_DIR lib/systemd/system)
set(AUTOSTART_DIR ${CMAKE_INSTALL_SYSCONFDIR}/xdg/autostart)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(AUTOSTART_DIR ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart)
  pkg_get_variable(SYSTEMD_UNIT_DIR_FOUND systemd systemdsystemunitdir)
  if(SYSTEMD_UNIT_DIR_FOUND)
    set(SYSTEMD_UNIT_DIR ${SYSTEMD_UNIT_DIR_FOUND})
  endif()
endif()
set(STICKER2_SYSTEMD_UNIT_DIR "${SYSTEMD_UNIT_DIR}" CACHE STRING "Where the systemd units are installed")
install(FILES ${generated}/sticker2-pdf@.service DESTINATION ${STICKER2_SYSTEMD_UNIT_DIR})
install(FILES ${generated}/sticker2-watch.desktop DESTINATION ${AUTOSTART_DIR})

# The Debian package. Depends comes from the binaries (dpkg-shlibdeps) plus
# the font the views use; the maintainer scripts refresh the MIME, desktop and
# icon databases and make the capture folder.
# Like `cmake --install`, cpack packs what is built and never starts a build
# of its own (tools/package.sh builds first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sticker2)
set(CPACK_PACKAGE_VENDOR Sticker2)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STICKER2_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The report font, and the monospaced font with box drawing that pages read
# in a PC code page are shown in. Then CUPS, zint, libxlsxwriter and minizip:
# they are loaded on first use, so the shared-library scan cannot see them;
# their packages are those the build found them in (LoadedLibraries.cmake).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "acl, fonts-liberation | fonts-liberation2, fonts-dejavu-core")
if(STICKER2_LOADED_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${STICKER2_LOADED_DEPENDS}")
endif()
# Qt's own texts (standard dialogs) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-daemon, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "viewer and printer for dot-matrix print files, and sticker sheets
Sticker2 is for offices that run text-mode business software and print on
dot-matrix printers. It opens the print files such programs write (raw ESC/P
bytes), shows their pages with bold, double and condensed print, reprints
them as raw bytes through CUPS, exports them (web page, text, RTF, workbook,
PDF) and prints sticker sheets with running numbers.
A CUPS backend (sticker2:/var/spool/sticker2) keeps every job printed to a
capture queue as a file that the program's watch mode opens at once.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/deb/postinst ${PROJECT_SOURCE_DIR}/packaging/deb/prerm
  ${PROJECT_SOURCE_DIR}/packaging/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
