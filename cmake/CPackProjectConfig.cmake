# Read by cpack once for each generator, with CPACK_GENERATOR naming the one at
# work. It chooses which install component makes up the package (see
# cmake/Install.cmake): the .deb gets the system layout and the Debian changelog,
# an archive gets the portable folder.
#
# CPACK_INSTALL_CMAKE_PROJECTS starts as "<build dir>;<project>;ALL;/"; the first
# value is kept aside so that a second generator in the same run starts from it
# and not from what the first one set.
if(NOT DEFINED KELVARO_CPACK_PROJECTS)
  set(KELVARO_CPACK_PROJECTS "${CPACK_INSTALL_CMAKE_PROJECTS}")
endif()

# A source package (CPackSourceConfig.cmake) installs no project and is left alone.
if(KELVARO_CPACK_PROJECTS)
  list(GET KELVARO_CPACK_PROJECTS 0 kelvaro_build_dir)
  list(GET KELVARO_CPACK_PROJECTS 1 kelvaro_project)

  if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_INSTALL_CMAKE_PROJECTS
        "${kelvaro_build_dir};${kelvaro_project};ALL;/"
        "${kelvaro_build_dir};${kelvaro_project};debian;/")
  elseif(CPACK_GENERATOR MATCHES "^(TGZ|TXZ|TBZ2|TZST|ZIP|7Z)$")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${kelvaro_build_dir};${kelvaro_project};portable;/")
    # The archive's top folder takes this name too.
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_KELVARO_PORTABLE_NAME}")
  endif()
endif()
