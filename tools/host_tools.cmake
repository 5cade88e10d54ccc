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

# brantel_host_tool(PATH_VAR TARGET_VAR GIVEN RELATIVE): the path of one host
# tool and the target that builds it; a tool GIVEN by the maker wins.
function(brantel_host_tool path_var target_var given relative)
  if(given)
    set(${path_var} ${given} PARENT_SCOPE)
    set(${target_var} "" PARENT_SCOPE)
  else()
    set(${path_var} ${BRANTEL_HOST_TOOLS}/${relative} PARENT_SCOPE)
    set(${target_var} "${BRANTEL_HOST_TOOLS_TARGET}" PARENT_SCOPE)
  endif()
endfunction()
