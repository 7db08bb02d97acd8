# `make package`: the install tree as one Debian package, installed under /opt/coreplugin. The
# tree keeps its own lib/ with generic library names, so it stays out of /usr; its dependencies
# on the system's runtime libraries are read from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME coreplugin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "CorePlugin developers <dev@coreplugin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "expression plug-in CorePlugin, the evaluator corehost and the plug-in SDK")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "CorePlugin gives a host engine 33 expressions: logic, typed comparison, string and list\n"
  "handling, MD5 digests and probes of the local machine. corehost evaluates rules with it\n"
  "from the command line; the SDK (headers, CMake package, pkg-config file) builds further\n"
  "plug-ins for the same host.")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/coreplugin)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(COREPLUGIN_ILP32)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE i386)
endif()
include(CPack)
