# The Debian package (scripts/package): what cmake --install puts under /usr.
# dpkg-shlibdeps names the runtime packages of the libraries the programs link
# (libqt6core6, libqt6gui6, libqt6widgets6, libqt6serialport6, libqt6network6,
# libqt6httpserver6 and libqt6websockets6 for the web remote, libqrencode4 for
# its QR code, libc6, libstdc++6) with their lowest versions; the platform
# plugins are loaded at run time, not linked, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qrn4480-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "QRN4480 editor developers <maintainers@qrn4480.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "editor and remote control for the QRN4480 feedback eliminator
Tunes each channel's twelve notch filters of a QRN4480, a two-channel
digital feedback eliminator on a serial port, starts and follows the
device's own feedback search, and keeps presets in the device and as .Fbk
files. The command-line tool qrn4480 does the same device work from a
shell: backup and restore, presets, notch and search settings, the search
itself, with JSON output for scripts. A simulated device (qrn4480-sim) and
a demo mode let everything be tried without hardware.")
include(CPack)
