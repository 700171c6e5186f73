# What a Windows user gets: a zip of the program, its data pack, the README, the licence and
# the third-party notices (CPack's ZIP generator), and an installer made by NSIS from
# packaging/windows/vexlum.nsi that installs the same files.
#
# The texts as Windows opens them everywhere: plain text with CR LF line ends, which Notepad
# shows; the settings dialog's link opens the README beside the program.
function(vexlum_windows_text out)
  set(text "")
  foreach(source IN LISTS ARGN)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} part)
    string(APPEND text "${part}")
  endforeach()
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${out} "${text}")
endfunction()
set(VEXLUM_README_TXT ${CMAKE_BINARY_DIR}/src/README.txt)
set(VEXLUM_LICENSE_TXT ${CMAKE_BINARY_DIR}/src/LICENSE.txt)
set(VEXLUM_NOTICES_TXT ${CMAKE_BINARY_DIR}/src/THIRD_PARTY_NOTICES.txt)
vexlum_windows_text(${VEXLUM_README_TXT} ${PROJECT_SOURCE_DIR}/README.md)
vexlum_windows_text(${VEXLUM_LICENSE_TXT} ${PROJECT_SOURCE_DIR}/LICENSE)
# The runtime linked statically into vexlum.scr travels with its licences, as the cross
# compiler's own packages give them.
set(notices ${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES)
foreach(package mingw-w64-i686-dev gcc-mingw-w64-i686-posix-runtime)
  set(copyright /usr/share/doc/${package}/copyright)
  if(NOT EXISTS ${copyright})
    message(FATAL_ERROR "${copyright} is missing: the Windows packages must carry the "
                        "licences of the runtime linked into vexlum.scr (package ${package})")
  endif()
  set(heading ${CMAKE_BINARY_DIR}/src/notice-${package}.txt)
  file(WRITE ${heading} "\n\n======================================================================\n"
                        "The licences of Debian's ${package}, as its package gives them\n"
                        "======================================================================\n\n")
  list(APPEND notices ${heading} ${copyright})
endforeach()
vexlum_windows_text(${VEXLUM_NOTICES_TXT} ${notices})
install(TARGETS vexlum RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd ${VEXLUM_README_TXT} ${VEXLUM_LICENSE_TXT}
              ${VEXLUM_NOTICES_TXT} DESTINATION .)
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
            -DREADME=${VEXLUM_README_TXT} -DLICENSE=${VEXLUM_LICENSE_TXT}
            -DNOTICES=${VEXLUM_NOTICES_TXT} -DICON=${PROJECT_SOURCE_DIR}/assets/vexlum.ico
            -DOUTFILE=${setup} ${PROJECT_SOURCE_DIR}/packaging/windows/vexlum.nsi
    DEPENDS vexlum ${PROJECT_SOURCE_DIR}/packaging/windows/vexlum.nsi
            ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd ${VEXLUM_README_TXT}
            ${VEXLUM_LICENSE_TXT} ${VEXLUM_NOTICES_TXT}
            ${PROJECT_SOURCE_DIR}/assets/vexlum.ico
    COMMENT "Making the installer ${setup}" VERBATIM)
  add_custom_target(installer ALL DEPENDS ${setup})
else()
  message(STATUS "makensis not found (Debian package nsis): the installer is not made")
endif()
