# The host tools the windows tree runs while it builds (the package and bundle
# builders): one host configuration of the same sources, in host-tools/ of
# this tree, of which only the tools are built.  BRANTEL_HOST_TOOLS_DIR may
# name an existing host build instead.

set(BRANTEL_HOST_TOOLS_DIR "" CACHE PATH "An existing host build with the tools; empty: build them in this tree")

if(BRANTEL_HOST_TOOLS_DIR)
  set(BRANTEL_HOST_TOOLS ${BRANTEL_HOST_TOOLS_DIR})
  set(BRANTEL_HOST_TOOLS_TARGET "")
else()
  include(ExternalProject)
  set(BRANTEL_HOST_TOOLS ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(brantel_host_tools
    SOURCE_DIR ${BRANTEL_SOURCE_ROOT}
    BINARY_DIR ${BRANTEL_HOST_TOOLS}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -Wno-dev
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${BRANTEL_HOST_TOOLS} --target brantel-package brantel-bundle
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${BRANTEL_HOST_TOOLS}/tools/package/brantel-package ${BRANTEL_HOST_TOOLS}/tools/bundle/brantel-bundle
    USES_TERMINAL_BUILD OFF)
  set(BRANTEL_HOST_TOOLS_TARGET brantel_host_tools)
endif()
