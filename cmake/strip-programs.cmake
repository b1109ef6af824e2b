# Run by CPack on its staging folder just before it packs the .deb: strips the programs as Debian's
# dh_strip does, which also drops the compiler's version notes that a plain strip keeps.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(program IN LISTS programs)
  execute_process(
    COMMAND ${CPACK_CHARGEWRIGHT_STRIP} --remove-section=.comment --remove-section=.note --strip-unneeded
            ${program}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot strip ${program}")
  endif()
endforeach()
