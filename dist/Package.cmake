# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh). Its dependencies
# come from dpkg-shlibdeps, which finds the package of every shared library the programs use.
set(CPACK_PACKAGE_NAME karteneditor)
set(CPACK_PACKAGE_VENDOR "Karteneditor")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map editor for a tile-based ball-throwing game")
set(CPACK_PACKAGE_DESCRIPTION
    "Karteneditor builds the maps that a two-dimensional, tile-based ball-throwing game for\n"
    "several players is played on, with a German user interface. A map is a grid of up to\n"
    "1000 x 1000 fields showing the tiles of a PNG tile set, with the players' start positions\n"
    "and directions and the numbers of ball slots and balls.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)

# Whoever builds the package maintains it, named as Debian's tools take it from the
# environment (DEBFULLNAME, DEBEMAIL), else by login and host.
execute_process(COMMAND id -un OUTPUT_VARIABLE login OUTPUT_STRIP_TRAILING_WHITESPACE)
cmake_host_system_information(RESULT host QUERY HOSTNAME)
set(maintainer_name "${login}")
set(maintainer_mail "${login}@${host}")
if(DEFINED ENV{DEBFULLNAME})
    set(maintainer_name "$ENV{DEBFULLNAME}")
endif()
if(DEFINED ENV{DEBEMAIL})
    set(maintainer_mail "$ENV{DEBEMAIL}")
endif()
set(MAPEDITOR_PACKAGE_MAINTAINER "${maintainer_name} <${maintainer_mail}>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MAPEDITOR_PACKAGE_MAINTAINER}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts the windows and the map view's texts are drawn with; no library names them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
include(CPack)
