# Install rules and packaging.
#
# One project, two layouts:
#
#  * The system layout (the default component) follows the GNU directories:
#    the programs in bin, the template set in share/kelvaro/Templates, the guide
#    in share/doc/kelvaro, plus the desktop entry, AppStream metainfo, icons,
#    MIME type and manual pages a desktop expects. `cmake --install build` and
#    `cpack -G DEB` give this layout.
#  * The portable layout (component "portable") puts the two programs, the
#    Templates folder and guide.html side by side, the way the program finds
#    them when it runs from an unpacked folder. It is EXCLUDE_FROM_ALL, so a
#    plain install never scatters these files over the prefix; only
#    `cmake --install build --component portable` or `cpack -G TGZ` asks for it.
#
# CPack runs the install once per generator. cmake/CPackProjectConfig.cmake, read
# by cpack for each generator, picks the component: the TGZ installs "portable"
# alone, the DEB the default component plus "debian" (the Debian changelog, which
# means nothing outside a .deb).

include(GNUInstallDirs)

set(KELVARO_APP_ID io.github.kelvaro.Kelvaro)
# The date of the release named by project(VERSION); change both together.
set(KELVARO_RELEASE_DATE 2026-12-08)
set(KELVARO_MAINTAINER "The Kelvaro developers <kelvaro@users.noreply.github.com>")

set(KELVARO_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/kelvaro)
set(KELVARO_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/kelvaro)
set(KELVARO_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)

# --- system layout -----------------------------------------------------------

install(TARGETS kelvaro-compose RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Templates DESTINATION ${KELVARO_DATA_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/docs/guide.html ${CMAKE_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${KELVARO_DOC_INSTALL_DIR})

# Manual pages go in compressed with gzip -9n (no name, no time stamp), as Debian
# wants them; man reads them either way. They are compressed when built so that
# installing stays a plain copy that the install manifest lists.
find_program(KELVARO_GZIP gzip REQUIRED)
function(kelvaro_install_man page)
  set(source ${CMAKE_SOURCE_DIR}/data/man/${page})
  set(packed ${KELVARO_PACKAGING_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KELVARO_PACKAGING_DIR}/man
    COMMAND ${KELVARO_GZIP} -9n -c ${source} > ${packed}
    DEPENDS ${source}
    COMMENT "Compressing the manual page ${page}")
  install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set_property(GLOBAL APPEND PROPERTY KELVARO_MAN_OUTPUTS ${packed})
endfunction()

kelvaro_install_man(kelvaro-compose.1)

# The desktop integration belongs to the window program; a build without the GUI
# installs the command line alone and no entry that would start a missing program.
if(TARGET kelvaro)
  install(TARGETS kelvaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  kelvaro_install_man(kelvaro.1)

  install(FILES ${CMAKE_SOURCE_DIR}/data/${KELVARO_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)

  configure_file(${CMAKE_SOURCE_DIR}/data/${KELVARO_APP_ID}.metainfo.xml.in
                 ${KELVARO_PACKAGING_DIR}/${KELVARO_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${KELVARO_PACKAGING_DIR}/${KELVARO_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

  # The shared MIME database wants the package file named after the
  # application id, without the .mime part the source file carries.
  install(FILES ${CMAKE_SOURCE_DIR}/data/${KELVARO_APP_ID}.mime.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages
          RENAME ${KELVARO_APP_ID}.xml)

  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${KELVARO_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${size}x${size}/${KELVARO_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

get_property(kelvaro_man_outputs GLOBAL PROPERTY KELVARO_MAN_OUTPUTS)
add_custom_target(kelvaro_man ALL DEPENDS ${kelvaro_man_outputs})

# --- portable layout ---------------------------------------------------------

set(kelvaro_portable_programs kelvaro-compose)
if(TARGET kelvaro)
  list(PREPEND kelvaro_portable_programs kelvaro)
endif()
install(TARGETS ${kelvaro_portable_programs} RUNTIME DESTINATION .
        COMPONENT portable EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Templates DESTINATION .
        COMPONENT portable EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_SOURCE_DIR}/docs/guide.html DESTINATION .
        COMPONENT portable EXCLUDE_FROM_ALL)

# --- Debian-only files -------------------------------------------------------

# Debian packages carry a changelog; a version with a Debian revision makes it
# changelog.Debian.gz. Its date is the release date in RFC 2822 form, whose
# weekday comes from Zeller's congruence so that only the ISO date is kept above.
set(KELVARO_DEB_RELEASE 1)
set(KELVARO_DEB_VERSION ${PROJECT_VERSION}-${KELVARO_DEB_RELEASE})
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" kelvaro_date_ok "${KELVARO_RELEASE_DATE}")
if(NOT kelvaro_date_ok)
  message(FATAL_ERROR "KELVARO_RELEASE_DATE must be YYYY-MM-DD, not '${KELVARO_RELEASE_DATE}'")
endif()
set(kelvaro_dd "${CMAKE_MATCH_3}")
math(EXPR kelvaro_y "${CMAKE_MATCH_1}")
math(EXPR kelvaro_m "${CMAKE_MATCH_2}")  # math() drops the leading zero
math(EXPR kelvaro_d "${CMAKE_MATCH_3}")
set(kelvaro_zy ${kelvaro_y})
set(kelvaro_zm ${kelvaro_m})
if(kelvaro_zm LESS 3)
  math(EXPR kelvaro_zm "${kelvaro_zm} + 12")
  math(EXPR kelvaro_zy "${kelvaro_zy} - 1")
endif()
math(EXPR kelvaro_weekday "(${kelvaro_d} + 13 * (${kelvaro_zm} + 1) / 5 + ${kelvaro_zy} % 100 + (${kelvaro_zy} % 100) / 4 + (${kelvaro_zy} / 100) / 4 + 5 * (${kelvaro_zy} / 100)) % 7")
set(kelvaro_weekdays Sat Sun Mon Tue Wed Thu Fri)
set(kelvaro_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET kelvaro_weekdays ${kelvaro_weekday} kelvaro_weekday_name)
math(EXPR kelvaro_month_index "${kelvaro_m} - 1")
list(GET kelvaro_months ${kelvaro_month_index} kelvaro_month_name)
set(KELVARO_RELEASE_DATE_RFC2822
    "${kelvaro_weekday_name}, ${kelvaro_dd} ${kelvaro_month_name} ${kelvaro_y} 00:00:00 +0000")

configure_file(${CMAKE_SOURCE_DIR}/data/debian/changelog.in
               ${KELVARO_PACKAGING_DIR}/debian/changelog.Debian @ONLY)
set(kelvaro_changelog ${KELVARO_PACKAGING_DIR}/debian/changelog.Debian.gz)
add_custom_command(OUTPUT ${kelvaro_changelog}
  COMMAND ${KELVARO_GZIP} -9n -c ${KELVARO_PACKAGING_DIR}/debian/changelog.Debian > ${kelvaro_changelog}
  DEPENDS ${KELVARO_PACKAGING_DIR}/debian/changelog.Debian
  COMMENT "Compressing the Debian changelog")
add_custom_target(kelvaro_debian_changelog ALL DEPENDS ${kelvaro_changelog})
install(FILES ${kelvaro_changelog} DESTINATION ${KELVARO_DOC_INSTALL_DIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
# The package is built outside the Debian archive, so some of lintian's archive
# rules do not apply; the overrides file says which, and why.
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME kelvaro
        COMPONENT debian EXCLUDE_FROM_ALL)

# --- CPack -------------------------------------------------------------------

set(CPACK_PACKAGE_NAME kelvaro)
set(CPACK_PACKAGE_VENDOR "The Kelvaro developers")
set(CPACK_PACKAGE_CONTACT "${KELVARO_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kelvaro.github.io/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop tool for writing the ReadMe of Japanese freeware")
# Debian reads a description line that starts with a dot as a control line, so
# no line below may start with one.
set(CPACK_PACKAGE_DESCRIPTION
  "Kelvaro fills in a Japanese ReadMe form: one-line facts such as the author,
the software name and the version, long texts such as installation, copyright
and disclaimer, and four items of your own. It writes the ReadMe as plain text,
an HTML 4.01 page, GitHub Flavored Markdown (README.md) or an HTML5 page, to a
file, the clipboard, a preview or the browser. Forms are saved in files ending
in .ref, in Shift_JIS (code page 932) with CR LF line ends; text and HTML 4.01
ReadMes are Shift_JIS too unless UTF-8 is chosen, Markdown and HTML5 are UTF-8.
About twenty reusable texts come as templates.

kelvaro-compose composes the same ReadMe on the command line, for build
pipelines.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-")

set(CPACK_DEBIAN_PACKAGE_NAME kelvaro)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KELVARO_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELVARO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs (file, font, colour) and buttons speak Japanese only with Qt's
# translations installed; without them every file dialog is in English.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

# CPack writes every CPACK_ variable into its configuration; this one names the
# portable archive and its top folder (cmake/CPackProjectConfig.cmake).
set(CPACK_KELVARO_PORTABLE_NAME "kelvaro-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/CPackProjectConfig.cmake)
set(CPACK_GENERATOR DEB TGZ)

include(CPack)
