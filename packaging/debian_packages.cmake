# Debian packages of the installed tree (CPack's DEB generator; scripts/package runs it), one per
# install component:
#   libzorvcapsule<SOVERSION>  runtime  the two shared libraries
#   libzorvcapsule-dev         dev      headers, CMake package, pkg-config file, the unversioned .so links
#   zorvcapsule-tools          tools    the `capsule` command
# dpkg-shlibdeps works out the distribution packages the binaries load; the development package's
# needs (the Boost headers and link libraries the installed headers use) are declared here.
set(CPACK_PACKAGE_NAME zorvcapsule)
set(CPACK_PACKAGE_VENDOR "zorvcapsule developers")
set(CPACK_PACKAGE_CONTACT "zorvcapsule developers <dev@zorvcapsule.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL runtime dev tools)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(_runtime_package libzorvcapsule${ZORV_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${_runtime_package})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "motion-graphics template library for video-editing hosts
Reads and writes template descriptions, opens .tplx template packages, keeps a searchable
catalogue of templates and is the stock-content service client. This package holds the shared
libraries.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzorvcapsule-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libboost-dev (>= ${Boost_VERSION_MAJOR}.${Boost_VERSION_MINOR}), \
libboost-filesystem-dev, libboost-regex-dev, libboost-date-time-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION "motion-graphics template library - development files
Headers, CMake package (find_package(zorvcapsule)) and pkg-config file for hosts of the
template library.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zorvcapsule-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "motion-graphics template library - command-line host
The capsule command: template information, catalogues, sample templates and the stock service
from the command line.")

# The packaged programs load the libraries of the runtime package, which are not installed yet.
get_target_property(_capsule_dir zorvcapsule BINARY_DIR)
get_target_property(_host_dir zorvhost BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_capsule_dir} ${_host_dir})
include(CPack)
