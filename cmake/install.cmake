# What `cmake --install` puts where. On Linux: both programs under the prefix's bin/, their manual pages
# (compressed, as Debian wants them) and their bash completion. On Windows: both programs and a read-me
# side by side, which is all the zip holds.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS Chargewright RUNTIME DESTINATION .)
  if(TARGET chargewright-report)
    install(TARGETS chargewright-report RUNTIME DESTINATION .)
  endif()
  # CR LF: Notepad before Windows 10 shows a file of LF line ends as one long line.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)
  return()
endif()

install(TARGETS chargewright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(chargewright_commands chargewright)
if(TARGET chargewright-report)
  install(TARGETS chargewright-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND chargewright_commands chargewright-report)
endif()

# The pages' date moves with the version, not with the day of the build, so a rebuild gives the same bytes.
set(CHARGEWRIGHT_MAN_DATE 2026-12-08)
find_program(CHARGEWRIGHT_GZIP gzip REQUIRED)
set(manual_pages)
foreach(command IN LISTS chargewright_commands)
  set(page ${CMAKE_BINARY_DIR}/man/${command}.1)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${command}.1.in ${page} @ONLY)
  # -n: no name or time stamp in the header.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CHARGEWRIGHT_GZIP} -9 -n -c ${page} > ${page}.gz
    DEPENDS ${page}
    COMMENT "Compressing the manual page of ${command}")
  list(APPEND manual_pages ${page}.gz)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/bash-completion/${command}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${manual_pages})
install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package's documents; Debian wants them under the package's own lower-case name.
set(CHARGEWRIGHT_MAINTAINER "Chargewright maintainers <maintainers@chargewright.invalid>"
  CACHE STRING "The packages' maintainer, as \"Name <address>\"")
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${changelog} @ONLY)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND ${CHARGEWRIGHT_GZIP} -9 -n -c ${changelog} > ${changelog}.gz
  DEPENDS ${changelog})
add_custom_target(changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${changelog}.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/chargewright)
