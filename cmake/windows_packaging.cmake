# What a Windows user gets: a zip of the two files (CPack's ZIP generator) and an installer
# made by NSIS from packaging/windows/vexlum.nsi.
install(TARGETS vexlum RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd ${PROJECT_SOURCE_DIR}/README.md
  DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vexlum)
set(CPACK_PACKAGE_FILE_NAME vexlum-${PROJECT_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

find_program(VEXLUM_MAKENSIS makensis)
if(VEXLUM_MAKENSIS)
  set(setup ${CMAKE_BINARY_DIR}/vexlum-${PROJECT_VERSION}-setup.exe)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${VEXLUM_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSOURCE=$<TARGET_FILE_DIR:vexlum>
            -DREADME=${PROJECT_SOURCE_DIR}/README.md -DOUTFILE=${setup} ${PROJECT_SOURCE_DIR}/packaging/windows/vexlum.nsi
    DEPENDS vexlum ${PROJECT_SOURCE_DIR}/packaging/windows/vexlum.nsi
            ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd ${PROJECT_SOURCE_DIR}/README.md
    COMMENT "Making the installer ${setup}" VERBATIM)
  add_custom_target(installer ALL DEPENDS ${setup})
else()
  message(STATUS "makensis not found (Debian package nsis): the installer is not made")
endif()
