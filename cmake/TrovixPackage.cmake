# The Debian package: `cpack -G DEB` in the build folder (or the `package`
# target) makes trovix_<version>_<arch>.deb from what `cmake --install` puts
# under /usr. The shared libraries it needs become its dependencies through
# dpkg-shlibdeps (Debian package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trovix)
set(CPACK_PACKAGE_VENDOR Quirkworks)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "menu bar of the application in front, at the mouse pointer")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/package-description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Debugging information stays in the build folder, not in the package. The
# programs are installed as part of the bundle folder, not as targets, so the
# stripping that `cmake --install --strip` and CPack ask for is done here.
set(CPACK_STRIP_FILES ON)
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program trovix trovix-log)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/trovix/Trovix.app/Contents/MacOS/\${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()")

set(CPACK_DEBIAN_PACKAGE_NAME trovix)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Trovix developers <trovix@quirkworks.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its X11 platform plugin, SVG icons and the about panel's TIFF picture
# at run time, so no linker dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# Menus are read over the accessibility bus, which the session starts from
# at-spi2-core; without it Trovix runs and tells the user what is missing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "at-spi2-core, qt6-image-formats-plugins")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# xz compresses on every core (0: as many threads as there are).
set(CPACK_THREADS 0)

include(CPack)
