# Install rules and packages. POSIX: the program in bin/ and the manual page
# in share/man/man1/; `cpack -G DEB` makes the Debian package. Windows: the
# program and its manual as CR LF text side by side, for `cpack -G ZIP`.

include(GNUInstallDirs)
# `make package` and `make package-win` build what they pack; CPack would
# otherwise build every target first, the tests included.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  install(TARGETS scrivo RUNTIME DESTINATION .)
  # The manual is rendered to plain text where groff is at hand; a zip
  # without it would lack the only documentation a Windows user gets.
  find_program(SCRIVO_GROFF groff)
  if(SCRIVO_GROFF)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/scrivo.txt
      COMMAND sh -c "\"$0\" -man -Tascii -P-c -P-b -P-o -P-u \"$1\" | sed 's/$/\\r/' > \"$2\""
              ${SCRIVO_GROFF} ${CMAKE_SOURCE_DIR}/doc/scrivo.1 ${CMAKE_BINARY_DIR}/scrivo.txt
      DEPENDS ${CMAKE_SOURCE_DIR}/doc/scrivo.1
      VERBATIM)
    add_custom_target(scrivo_manual_text ALL DEPENDS ${CMAKE_BINARY_DIR}/scrivo.txt)
    install(FILES ${CMAKE_BINARY_DIR}/scrivo.txt DESTINATION .)
  else()
    add_custom_target(scrivo_manual_text
                      COMMAND ${CMAKE_COMMAND} -E echo "groff not found: the package has no manual")
  endif()
else()
  install(TARGETS scrivo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES doc/scrivo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(SCRIVO_MAINTAINER "Scrivo developers <scrivo@example.org>"
    CACHE STRING "The maintainer named in the packages")

set(CPACK_PACKAGE_NAME scrivo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Scrivo developers")
set(CPACK_PACKAGE_CONTACT ${SCRIVO_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "documentation generator for C/C++ sources, HTML templates and projects")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SCRIVO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Debian's description: CPack puts the summary line first and indents
# these lines under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Scrivo turns one input file into browsable HTML in a folder scrivo2 beside
it: a C/C++ source or text file into a line-numbered listing with index
lists and links from every use to its definition, an HTML template document
into an expanded page with a table of contents, and a project file into a
small site whose pages link into each other. Input is code page 932
(Shift-JIS) or UTF-8 text; the program's messages are Japanese.")
find_program(SCRIVO_SHLIBDEPS dpkg-shlibdeps)
find_program(SCRIVO_FILE file)
if(SCRIVO_SHLIBDEPS AND SCRIVO_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()

set(CPACK_ARCHIVE_FILE_NAME "scrivo-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
