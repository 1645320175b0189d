# The Debian package, built by scripts/package: velmora_VERSION_ARCH.deb in the
# build folder. dpkg-shlibdeps works out the dependencies on the Qt runtime.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drives a machine that punches music rolls")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora loads a PRT punch list, checks it, draws the roll and punches it:\n\
one command line per hole goes to the machine's controller over a serial\n\
port, paced by the controller's readiness. Comes with velmora-punchsim, a\n\
punch-controller simulator on a pseudo-terminal, and sample rolls.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The job history is SQLite through Qt SQL: its driver is a plugin, which
# dpkg-shlibdeps does not see. Qt's own dialog texts in Dutch (the file
# dialog's buttons) come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-translations-l10n")
# The Help menu opens the guide in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
