# `cpack` in a build: a Debian package of the Linux programs, or a zip of the Windows ones.
set(CPACK_PACKAGE_NAME chargewright)
set(CPACK_PACKAGE_VENDOR "Chargewright")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "test and watch a notebook battery")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  # The programs at the top of the zip: Explorer's "Extract All" makes the folder.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGE_FILE_NAME Chargewright-${PROJECT_VERSION}-win32)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CHARGEWRIGHT_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the programs link, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_CHARGEWRIGHT_STRIP ${CMAKE_STRIP})
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/strip-programs.cmake)
  set(CPACK_PACKAGE_DESCRIPTION
    "Chargewright shows a notebook's battery in a terminal panel: live capacity,
rate and drain, a per-minute logging session, sleep and hibernate tests with
a wake alarm, and the shortcuts a tester needs between measurements. Without
a battery it runs on a simulated laptop. Its commands log and sleep run the
same tests unattended, for example over SSH.
.
chargewright-report turns the tests' logs into a summary and a page with
charts.")
endif()

include(CPack)
