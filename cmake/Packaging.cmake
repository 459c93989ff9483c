# Installing Brekka as a desktop program (cmake --install) and its Debian package
# (cpack -G DEB). Every destination is relative to the prefix, so the same rules serve
# /usr/local, a DESTDIR staging tree and the package's /usr.
#
# Nothing here runs update-mime-database, update-desktop-database or
# gtk-update-icon-cache: a package manager's triggers do that on the installed tree,
# and a staged install must not touch the machine's caches.
include(GNUInstallDirs)

# The component id of the metainfo; the desktop entry is named after it, as the
# desktop's shells and software centres expect.
set(BREKKA_APP_ID org.brekka.Brekka)

# The programs.
if(TARGET brekka)
  install(TARGETS brekka RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS brekka-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# brekka-calc draws pictures through this module, loaded only then; it finds it by
# its path relative to the program.
if(TARGET brekka-graph-image)
  install(TARGETS brekka-graph-image LIBRARY DESTINATION ${BREKKA_MODULE_DIR})
endif()

# The manual pages, compressed as Debian's policy asks; man reads them either way.
set(man_pages brekka-calc)
if(TARGET brekka)
  list(APPEND man_pages brekka)
endif()
set(man_dir ${CMAKE_CURRENT_BINARY_DIR}/man)
set(man_files)
foreach(page ${man_pages})
  add_custom_command(OUTPUT ${man_dir}/${page}.1.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/man/${page}.1 ${man_dir}/${page}.1
    COMMAND gzip -9 -n -f ${man_dir}/${page}.1
    DEPENDS man/${page}.1 VERBATIM)
  list(APPEND man_files ${man_dir}/${page}.1.gz)
endforeach()
add_custom_target(brekka_man_pages ALL DEPENDS ${man_files})
install(FILES ${man_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The desktop: entry, metainfo, the input files' type and icons.
if(TARGET brekka)
  install(FILES packaging/${BREKKA_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/${BREKKA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES packaging/brekka-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME brekka.xml)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES resources/icons/brekka.svg DESTINATION ${icons}/scalable/apps)
  foreach(size 48 128 256)
    install(FILES resources/icons/brekka-${size}.png
      DESTINATION ${icons}/${size}x${size}/apps RENAME brekka.png)
  endforeach()
endif()

# The staged install and its checks of the installed tree.
if(BREKKA_BUILD_TESTS)
  if(TARGET brekka)
    set(window_built 1)
  else()
    set(window_built 0)
  endif()
  add_test(NAME install_tree
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/check-install.sh
      ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${window_built} ${BREKKA_APP_ID})
endif()

# The Debian package: cpack -G DEB in the build directory.
set(CPACK_PACKAGE_NAME brekka)
set(CPACK_PACKAGE_VENDOR "The Brekka developers")
set(CPACK_PACKAGE_CONTACT "Brekka packaging team <packaging@brekka.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "segmented linear regression of field observations")
# Debian shows the lines as they are: kept under 80 columns, a lone "." between
# paragraphs.
set(CPACK_PACKAGE_DESCRIPTION "Brekka fits a broken line to field observations: it regresses a dependent
variable, such as crop yield, on one or two independent variables, such as the
depth of the water table and soil salinity. It finds the breakpoint with its
standard error, tests the function at 90, 95 or 98 per cent confidence and
gives an analysis-of-variance table and graphs with confidence belts.
.
The package holds the desktop program brekka and the command-line program
brekka-calc, which runs the same calculation and draws its graphs.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps (dpkg-dev), with the versions the binaries
# were linked against; without it, the same packages by hand, unversioned. The graphs
# and the window ask for Arial, which fontconfig maps onto Liberation Sans: no shared
# library says so.
find_program(BREKKA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TARGET brekka)
  set(BREKKA_DEB_DEPENDS fonts-liberation)
  set(hand_listed libc6 libstdc++6 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6
    libjpeg62-turbo)
else()
  set(BREKKA_DEB_DEPENDS)
  set(hand_listed libc6 libstdc++6 libgcc-s1)
  if(BREKKA_BUILD_WINDOW)
    list(APPEND hand_listed libqt6core6 libqt6gui6)
    list(APPEND BREKKA_DEB_DEPENDS fonts-liberation)
  endif()
endif()
if(BREKKA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  list(PREPEND BREKKA_DEB_DEPENDS ${hand_listed})
endif()
list(JOIN BREKKA_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
