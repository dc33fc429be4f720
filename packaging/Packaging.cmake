# Installation into the usual Debian places and the .deb that CPack builds from it.
include(GNUInstallDirs)

# Packaging takes what the build made instead of rebuilding every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS korvena korvena-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KORVENA_APP_ID hu.korvena.Korvena)
set(KORVENA_MAINTAINER "Korvena fejlesztők <fejlesztok@korvena.hu>")
set(packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)

# A rebuilt package of the same sources carries the same date (dpkg-buildpackage sets SOURCE_DATE_EPOCH).
string(TIMESTAMP KORVENA_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP KORVENA_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file(${packaging_dir}/${KORVENA_APP_ID}.metainfo.xml.in
               ${packaging_out}/${KORVENA_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging_dir}/korvena.1.in ${packaging_out}/korvena.1 @ONLY)
configure_file(${packaging_dir}/changelog.in ${packaging_out}/changelog @ONLY)

# Debian's documents go in compressed, without a time stamp, so that the same
# sources give the same package.
set(gzipped)
foreach(doc korvena.1 changelog)
    add_custom_command(
        OUTPUT ${packaging_out}/${doc}.gz
        COMMAND gzip -9nf -k ${packaging_out}/${doc}
        DEPENDS ${packaging_out}/${doc}
        VERBATIM)
    list(APPEND gzipped ${packaging_out}/${doc}.gz)
endforeach()

set(manpage ${CMAKE_BINARY_DIR}/packaging/korvena-admin.1.gz)
add_custom_command(
    OUTPUT ${manpage}
    COMMAND ${packaging_dir}/make-manpage $<TARGET_FILE:korvena-admin> ${PROJECT_VERSION} ${manpage}
    DEPENDS korvena-admin ${packaging_dir}/make-manpage
    COMMENT "korvena-admin.1"
    VERBATIM)
add_custom_target(korvena_manpage ALL DEPENDS ${manpage} ${gzipped})

install(FILES ${packaging_dir}/${KORVENA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KORVENA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_dir}/${KORVENA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${manpage} ${packaging_out}/korvena.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_dir}/copyright ${packaging_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvena)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Korvena)
set(CPACK_PACKAGE_CONTACT "${KORVENA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KORVENA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "iratok iktatása hivataloknak és kisvállalkozásoknak")
# lintian wants the description's lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Iktatóprogram hivataloknak és kisvállalkozásoknak: iratok iktatása,\n\
keresése, kölcsönzése, határidők figyelése, listák és címkék nyomtatása.\n\
Több munkaállomás dolgozik egy közös MariaDB vagy MySQL adatbázison;\n\
új nyilvántartást a korvena-admin parancs hoz létre.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the binaries link, by dpkg-shlibdeps; Qt's platform plugins are
# loaded at run time, so no linked library names their package; nor do the
# reading languages of the OCR, which are data files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, tesseract-ocr-hun, tesseract-ocr-eng")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mariadb-client, qt6-translations-l10n")
include(CPack)
