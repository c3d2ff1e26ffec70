# Installation as a Linux desktop program, and the Debian package made from it.
# Only the window program and its desktop files are installed: the replay tool,
# the tests and the build helpers stay in the build tree.
include(GNUInstallDirs)

if(NOT TAVOLEN_BUILD_QT)
  return()
endif()

# The project has no domain of its own yet: the addresses stay under the
# reserved example.org until it has one, so they can never reach a stranger.
set(TAVOLEN_APP_ID "org.example.tavolen")
set(TAVOLEN_HOMEPAGE "https://tavolen.example.org/")
set(TAVOLEN_RELEASE_DATE "2026-12-06")
set(TAVOLEN_ICON_XPM "${PROJECT_SOURCE_DIR}/icons/tavolen.xpm")

add_subdirectory(packaging)
install(TARGETS tavolen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tavolen")
set(CPACK_PACKAGE_VENDOR "The Tavolen developers")
set(CPACK_PACKAGE_CONTACT "The Tavolen developers <tavolen@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of the long description stay under 80 columns, as Debian asks.
set(CPACK_PACKAGE_DESCRIPTION
    "Tavolen adds, subtracts, multiplies and divides two mixed numbers and\n"
    "shows the answer in lowest terms, as a mixed number or as an improper\n"
    "fraction, with exact integer arithmetic. The window is in Japanese.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "math")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAVOLEN_HOMEPAGE}")
# Library dependencies come from dpkg-shlibdeps; the window's Japanese faces
# and Qt's own Japanese texts are looked up at run time, so they are listed here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
include(CPack)
