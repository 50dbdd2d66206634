# `cpack -G DEB` in the build makes two packages under /usr: kovferrit-cli (the CLI, the
# background sync and its user unit, nothing that needs a display, for headless recorder boxes)
# and kovferrit (the desktop program, which needs the CLI package's texts and unit).
set(CPACK_PACKAGE_NAME kovferrit)
set(CPACK_PACKAGE_VENDOR "KovFerrit")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/kovferrit/kovferrit")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli gui)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KovFerrit developers <kovferrit-dev@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# Both packages come from one source, the one the changelog names.
set(CPACK_DEBIAN_PACKAGE_SOURCE kovferrit)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME kovferrit-cli)
# Qt loads its SQLite driver as a plug-in and QtKeychain loads libsecret when it runs, which
# dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "libqt6sql6-sqlite, libsecret-1-0")
set(CPACK_DEBIAN_CLI_DESCRIPTION [=[sync Quib recording jobs into a PC recorder, headless
KovFerrit logs in to the Quib programme-guide service, downloads the user's
recording jobs and turns each into a recording, or its deletion, in the
recorder's schedule: its own local schedule or a VDR reached over SVDRP.

This package holds kovferrit-cli, which syncs, lists recordings and edits the
settings and the channel numbers from a terminal, and the systemd user unit
kovferrit-sync.service that keeps syncing in the background. It needs no
display, so it suits a headless recorder box.]=])

set(CPACK_DEBIAN_GUI_PACKAGE_NAME kovferrit)
set(CPACK_COMPONENT_GUI_DEPENDS cli)
# Qt's own texts (the message boxes' Yes, No, Cancel) in the user's language; without them the
# program works, with those texts in English.
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_GUI_DESCRIPTION [=[sync Quib recording jobs into a PC recorder, desktop program
KovFerrit logs in to the Quib programme-guide service, downloads the user's
recording jobs and turns each into a recording, or its deletion, in the
recorder's schedule: its own local schedule or a VDR reached over SVDRP.

This package holds the desktop program: a small window for the account and
the recorder, a channel list editor and a log viewer, and a system tray icon
that repeats the sync on a timer and asks for the number of a channel it does
not know yet.]=])

# What dpkg-buildpackage would do and CPack does not: compress the man pages, drop the
# compiler's .comment section, and give each package its copyright file and changelog.
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in
               ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
set(CPACK_KOV_COPYRIGHT ${PROJECT_SOURCE_DIR}/data/debian/copyright)
set(CPACK_KOV_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/KovDebStage.cmake)
include(CPack)
