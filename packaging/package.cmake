# Included by CMakeLists.txt after the program's install rules: what an
# installed Valmeq needs beside the program, and the Debian package that
# ./package.sh makes with CPack.

# VALMEQ_PACKAGE (set by ./package.sh): every file of the package is required,
# and the maintainer's files are checked against the project's version.
option(VALMEQ_PACKAGE "Build every file of the Debian package (rsvg-convert required)" OFF)
set(VALMEQ_PACKAGE_CONTACT "Équipe Valmeq <valmeq@example.org>"
    CACHE STRING "Maintainer of the Debian package")

# The demo start directory: an installed Valmeq copies it into the user's
# start directory on the first start (see src/app/startup.h).
install(DIRECTORY demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/valmeq/demo)

# Bitmap icons in the sizes menus and docks ask for, drawn from the scalable one.
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(icons)
  foreach(size 48 64 128 256)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/valmeq.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --format=png
              --output=${png} ${CMAKE_SOURCE_DIR}/res/valmeq.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/res/valmeq.svg VERBATIM)
    list(APPEND icons ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(valmeq_icons ALL DEPENDS ${icons})
elseif(VALMEQ_PACKAGE)
  message(FATAL_ERROR "rsvg-convert est introuvable : « tools/deps.sh --package » l'installe.")
endif()

# The manual page and the package's changelog, compressed as Debian wants
# them (gzip -9n: no name, no date, the same bytes at each build).
configure_file(packaging/valmeq.1.in ${CMAKE_CURRENT_BINARY_DIR}/man/valmeq.1 @ONLY)
configure_file(packaging/changelog ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog COPYONLY)
set(gzipped)
foreach(file man/valmeq.1 doc/changelog)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
    COMMAND gzip -9nkf ${CMAKE_CURRENT_BINARY_DIR}/${file}
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${file} VERBATIM)
  list(APPEND gzipped ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(valmeq_docs ALL DEPENDS ${gzipped})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/valmeq.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/valmeq)

configure_file(packaging/fr.valmeq.Valmeq.metainfo.xml
               ${CMAKE_CURRENT_BINARY_DIR}/fr.valmeq.Valmeq.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/fr.valmeq.Valmeq.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

if(VALMEQ_PACKAGE)
  file(STRINGS packaging/changelog top LIMIT_COUNT 1)
  if(NOT top MATCHES "^valmeq \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog ne commence pas par la version ${PROJECT_VERSION} "
                        "de project() : ajoutez-y une entrée.")
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME valmeq)
set(CPACK_PACKAGE_VENDOR "Les auteurs de Valmeq")
set(CPACK_PACKAGE_CONTACT "${VALMEQ_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as dh_strip does: symbols, and the compiler's notes.
if(VALMEQ_PACKAGE)
  install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded
    --remove-section=.comment --remove-section=.note
    \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/valmeq
    COMMAND_ERROR_IS_FATAL ANY)")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cours de bourse, graphiques et portefeuille")
set(CPACK_PACKAGE_DESCRIPTION
    "Valmeq est un programme de bureau, entièrement en français, pour\n"
    "l'investisseur particulier qui suit des actions cotées : une base locale\n"
    "de cours quotidiens consultée mois par mois ou titre par titre, des\n"
    "graphiques et des indicateurs (moyenne mobile, RSI, momentum, ZigZag),\n"
    "l'importation et le téléchargement de cours, et un portefeuille\n"
    "(achats, ventes, dividendes, valorisation, frais).\n"
    "\n"
    "Au premier démarrage, le répertoire ~/.local/share/Valmeq est rempli\n"
    "avec une démonstration faite de cours réels.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the program through dpkg-shlibdeps; what it loads
# or shows without linking it is named here. Depends: the Arial the printed
# pages and the charts are laid out with (Liberation Sans has its metrics),
# and Qt's French buttons and dialogs. Recommends: more Qt platform plugins
# (X11's is in libqt6gui6) and the native Wayland one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
