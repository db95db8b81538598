# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later

# "cpack -G DEB" in the build folder makes quillmend_VERSION_ARCH.deb holding
# what "cmake --install" lays out, below /usr, with its dependencies found
# from the shared libraries the programs link.
set(CPACK_PACKAGE_NAME quillmend)
set(CPACK_PACKAGE_VENDOR "Quillmend developers")
set(CPACK_PACKAGE_CONTACT "Quillmend developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "corrects SubRip subtitles whose lines are too long to read")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmend joins each long subtitle of a SubRip (.srt) file and breaks it
again into at most two lines, gives a subtitle shown too briefly for its text
more time from the free gaps around it, splits a subtitle that cannot fit two
lines into two that share its time, and corrects overlaps. The window shows the
original and the corrected subtitles side by side for review and editing before
saving; quillmend-cli runs the same correction without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUILLMEND_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Packaging, like "cmake --install", takes the build as it is and never starts
# one (a test makes the package); installing before building is an error.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
