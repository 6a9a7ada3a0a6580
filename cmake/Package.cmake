# The Debian package: `cpack -G DEB` in the build tree makes
# tablescope_<version>_<arch>.deb from the install rules. Its dependencies on
# shared libraries are computed from the binary by dpkg-shlibdeps; what the
# binary loads at run time without linking it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tablescope)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brevan")
set(CPACK_PACKAGE_CONTACT "Tablescope maintainers <tablescope@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look into SQL databases and run scripts against them")
# Wrapped by hand: the package's control file keeps the lines as they are.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tablescope is a desktop tool for looking into relational databases and"
    "running SQL against them: SQLite files, FireBird servers and the data"
    "sources of any ODBC driver. It keeps a list of saved connection profiles,"
    "shows the tables and columns of a connected database in a tree, colours"
    "SQL as it is typed, and runs whole scripts, showing the rows of the last"
    "query or a log of every statement with its outcome.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tablescope.example.com/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG image and icon-engine plugins draw the application icon; the
# X11 platform plugin comes with libqt6gui6, which the binary links.
# QtKeychain loads libsecret at run time to reach the desktop's keyring.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libsecret-1-0")
# Native windows on a Wayland desktop instead of XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# ODBC drivers for the data sources people reach most often.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-postgresql, libsqliteodbc, odbc-mariadb")

include(CPack)
