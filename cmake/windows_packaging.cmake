# What a Windows user gets: a zip of the two files and the README (CPack's ZIP generator) and
# an installer made by NSIS from packaging/windows/vexlum.nsi.
# The README as Windows opens it everywhere: plain text with CR LF line ends, which Notepad
# shows; the settings dialog's link opens it beside the program.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
string(REPLACE "\n" "\r\n" readme "${readme}")
set(VEXLUM_README_TXT ${CMAKE_BINARY_DIR}/src/README.txt)
file(WRITE ${VEXLUM_README_TXT} "${readme}")
install(TARGETS vexlum RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd ${VEXLUM_README_TXT} DESTINATION .)
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
            -DREADME=${VEXLUM_README_TXT} -DICON=${PROJECT_SOURCE_DIR}/assets/vexlum.ico
            -DOUTFILE=${setup} ${PROJECT_SOURCE_DIR}/packaging/windows/vexlum.nsi
    DEPENDS vexlum ${PROJECT_SOURCE_DIR}/packaging/windows/vexlum.nsi
            ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd ${VEXLUM_README_TXT}
            ${PROJECT_SOURCE_DIR}/assets/vexlum.ico
    COMMENT "Making the installer ${setup}" VERBATIM)
  add_custom_target(installer ALL DEPENDS ${setup})
else()
  message(STATUS "makensis not found (Debian package nsis): the installer is not made")
endif()
