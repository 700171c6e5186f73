# Installation layout and the Debian package.
#
# XScreenSaver runs hacks from one folder and reads their descriptions from another. The saver
# finds its data pack beside its own executable, so both go into the hack folder; an installed
# copy cannot write there and keeps its settings and extracted images in the user's folders.

set(VEXLUM_XSCREENSAVER_HACK_DIR "libexec/xscreensaver" CACHE STRING
    "Folder, under the install prefix, where XScreenSaver looks for its hacks")
set(VEXLUM_XSCREENSAVER_CONFIG_DIR "share/xscreensaver/config" CACHE STRING
    "Folder, under the install prefix, of XScreenSaver's per-hack config files")
set(VEXLUM_PACKAGE_MAINTAINER "Vexlum developers <vexlum@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

# Directories the install creates get the usual modes whatever the umask of the packager.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS vexlum RUNTIME DESTINATION ${VEXLUM_XSCREENSAVER_HACK_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/Vexlum_Data.ppd
        DESTINATION ${VEXLUM_XSCREENSAVER_HACK_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vexlum.xml
        DESTINATION ${VEXLUM_XSCREENSAVER_CONFIG_DIR})
# The settings dialog's home-page link opens this copy of the README by default.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/vexlum)
# The manual page, with the project's version in its footer, compressed as Debian packages
# ship theirs (-n: no name or time stamp, so the same page gives the same bytes).
# XScreenSaver's "Documentation" button runs "man vexlum".
find_program(VEXLUM_GZIP gzip REQUIRED)
set(_vexlum_man_page ${PROJECT_BINARY_DIR}/packaging/vexlum.6)
configure_file(${PROJECT_SOURCE_DIR}/packaging/vexlum.6 ${_vexlum_man_page} @ONLY)
# Debian's changelog names the version it describes: it must be this one.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog _vexlum_changelog_top LIMIT_COUNT 1)
if(NOT _vexlum_changelog_top MATCHES "^vexlum \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog begins with '${_vexlum_changelog_top}', "
                      "not with an entry for version ${PROJECT_VERSION}")
endif()
set(_vexlum_changelog ${PROJECT_BINARY_DIR}/packaging/changelog)
add_custom_command(
  OUTPUT ${_vexlum_man_page}.gz ${_vexlum_changelog}.gz
  COMMAND ${VEXLUM_GZIP} -9nkf ${_vexlum_man_page}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
          ${_vexlum_changelog}
  COMMAND ${VEXLUM_GZIP} -9nf ${_vexlum_changelog}
  DEPENDS ${_vexlum_man_page} ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  COMMENT "Compressing the manual page and the changelog"
  VERBATIM)
add_custom_target(vexlum_man_page ALL DEPENDS ${_vexlum_man_page}.gz ${_vexlum_changelog}.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${_vexlum_changelog}.gz
        DESTINATION share/doc/vexlum)
install(FILES ${_vexlum_man_page}.gz DESTINATION share/man/man6)
# "vexlum /c" from a terminal opens the settings. A relative link keeps the tree relocatable,
# and the program resolves its own path, so it still finds the data pack in the hack folder.
file(RELATIVE_PATH _vexlum_link_target /bin /${VEXLUM_XSCREENSAVER_HACK_DIR}/vexlum)
install(CODE "
  set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  message(STATUS \"Installing: \${_bin}/vexlum -> ${_vexlum_link_target}\")
  file(MAKE_DIRECTORY \"\${_bin}\")
  file(CREATE_LINK \"${_vexlum_link_target}\" \"\${_bin}/vexlum\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/bin/vexlum\")
")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "vexlum")
set(CPACK_PACKAGE_VENDOR "Vexlum")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VEXLUM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D screen saver of glyph columns for XScreenSaver")
# The summary above is the synopsis line; CPack puts it in front of this text itself.
# (Double quotes do not survive CPack's quoting here, so the text has none.)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Columns of glyphs stand in space and grow downward glyph by glyph,
each glyph fading in, flickering through an atlas of letters or scenery
pictures and fading out, while the camera travels forward and now and
then circles its target. Background music can play meanwhile: a looped
MP3 or WAV file or an audio CD.
.
The saver is installed as an XScreenSaver hack with its config file;
its own settings window opens with the command: vexlum /c")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VEXLUM_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION "x11")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them: Qt's X11 platform plugin for the
# settings window and message boxes, and the font their Japanese captions are drawn in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
