# Packages made by `cpack` in a build folder: on Linux a Debian package (the plug-in where
# every Linux host looks, /usr/lib/vst and /usr/lib/vst3, as Debian's own plug-in packages
# do) and a tar.gz of the same tree; on Windows a zip with TandrelMini.dll and the
# TandrelMini.vst3 bundle at its top. Each holds the copyright file and the licence of the
# font the editor paints with, which travels inside the plug-in.
#
# The package's files form the install component "package", left out of a plain
# `cmake --install` (which copies into the user's plug-in folders, see entry/CMakeLists.txt).
if(NOT TARGET TandrelMini)
  return()
endif()

set(KIV_PACKAGE_NAME tandrel-mini)
set(kiv_module_info ${CMAKE_BINARY_DIR}/entry/moduleinfo.json)
set(kiv_licences ${PROJECT_SOURCE_DIR}/cmake/packaging/copyright
                 ${PROJECT_SOURCE_DIR}/gui/text/generated/DejaVu-LICENSE.txt)
if(WIN32)
  install(TARGETS TandrelMini LIBRARY DESTINATION . COMPONENT package EXCLUDE_FROM_ALL)
  install(FILES $<TARGET_FILE:TandrelMini> DESTINATION TandrelMini.vst3/Contents/x86_64-win
          RENAME TandrelMini.vst3 COMPONENT package EXCLUDE_FROM_ALL)
  install(FILES ${kiv_module_info} DESTINATION TandrelMini.vst3/Contents/Resources COMPONENT package EXCLUDE_FROM_ALL)
  install(FILES ${kiv_licences} DESTINATION . COMPONENT package EXCLUDE_FROM_ALL)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  # Paths below the packaging prefix: /usr in the Debian package, the package's own top
  # folder in the tar.gz (unpack it into /usr/local with --strip-components=1).
  install(TARGETS TandrelMini LIBRARY DESTINATION lib/vst COMPONENT package EXCLUDE_FROM_ALL)
  # The bundle's library is installed as a target too, so that it is stripped like the other.
  install(TARGETS TandrelMini LIBRARY DESTINATION lib/vst3/TandrelMini.vst3/Contents/x86_64-linux
          COMPONENT package EXCLUDE_FROM_ALL)
  install(FILES ${kiv_module_info} DESTINATION lib/vst3/TandrelMini.vst3/Contents/Resources
          COMPONENT package EXCLUDE_FROM_ALL)
  install(FILES ${kiv_licences} DESTINATION share/doc/${KIV_PACKAGE_NAME} COMPONENT package EXCLUDE_FROM_ALL)
  set(CPACK_GENERATOR DEB TGZ)
  # The Linux build carries debug information; the packages do not. (The Windows zip keeps
  # its two copies of the library identical: the bundle's copy is not a target to strip.)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_SYSTEM_NAME linux-x86_64)
endif()

set(CPACK_PACKAGE_NAME ${KIV_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Kestrune")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "TandrelMini dynamics processor (VST 2.4 and VST 3 plug-in)")
set(CPACK_PACKAGE_DESCRIPTION
    "Compressor, expander and gate with a drawable transfer curve, look-ahead, six release\n modes and channel linking, for mixing and mastering. Factory presets are built in.")
set(CPACK_PACKAGE_CONTACT "Kestrune <info@kestrune.com>")
set(CPACK_PACKAGE_FILE_NAME ${KIV_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Only the package's own component: the Debian package and the archives never touch home folders.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};TandrelMini;package;/")

set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.kestrune.com")

include(CPack)
