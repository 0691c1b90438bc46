# The Debian package: `cpack -G DEB` in the build folder makes qiravon_<version>_<arch>.deb
# of what `cmake --install` puts in place, under /usr.
set(CPACK_PACKAGE_NAME qiravon)
set(CPACK_PACKAGE_VENDOR "The Qiravon developers")
set(CPACK_PACKAGE_CONTACT "The Qiravon developers <developers@qiravon.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Internet radio player with Chinese regional stations")
set(CPACK_PACKAGE_DESCRIPTION "Qiravon plays internet radio stations picked from a bar of \
categories: featured, all, net and foreign-language stations, and 35 Chinese regions. It lives \
in the notification area and answers the desktop's media keys.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://qiravon.org/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the program links come from dpkg-shlibdeps. What it loads by name at run time
# is named here: the GStreamer plug-ins that open, decode and sound the stations' streams, and
# a font with Chinese glyphs. These are the run-time packages of scripts/deps.sh, with the
# alternatives a desktop may have instead; keep the two in step.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, \
gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, gstreamer1.0-libav, \
gstreamer1.0-pulseaudio | gstreamer1.0-pipewire | gstreamer1.0-alsa, \
fonts-wqy-microhei | fonts-noto-cjk")
include(CPack)
