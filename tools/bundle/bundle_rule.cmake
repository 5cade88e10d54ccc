# The resource bundle of setup.exe: ui/ packed by the host build of
# brantel-bundle into a generated source whose enciphered block lives in the
# program's data.  BRANTEL_BUNDLE_TOOL may name an existing host build of the
# builder; otherwise the one of tools/host_tools.cmake is used.

set(BRANTEL_UI_DIR ${BRANTEL_SOURCE_ROOT}/ui CACHE PATH "Folder of the setup's user interface files")
set(BRANTEL_BUNDLE_TOOL "" CACHE FILEPATH "A host build of brantel-bundle; empty: build one in this tree")

brantel_host_tool(bundle_tool bundle_tool_target "${BRANTEL_BUNDLE_TOOL}" tools/bundle/brantel-bundle)

file(GLOB_RECURSE ui_files CONFIGURE_DEPENDS ${BRANTEL_UI_DIR}/*)
set(BUNDLE_SOURCE ${CMAKE_BINARY_DIR}/bundle/bundle_data.cpp)
# For the test that setup.exe carries it.
set(BRANTEL_BUNDLE_SOURCE ${BUNDLE_SOURCE} CACHE INTERNAL "The generated source of the bundle")
add_custom_command(OUTPUT ${BUNDLE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bundle
  COMMAND ${bundle_tool} ${BUNDLE_SOURCE} ${BRANTEL_UI_DIR} > ${CMAKE_BINARY_DIR}/bundle/bundle.log
  DEPENDS ${ui_files} ${bundle_tool} ${bundle_tool_target}
  COMMENT "Packing ${BRANTEL_UI_DIR} into the resource bundle")

# An object library: whatever links it carries the bundle and installs it
# before wWinMain.
add_library(brantel_bundle_data OBJECT ${BUNDLE_SOURCE})
target_link_libraries(brantel_bundle_data PUBLIC brantel_resource)
if(TARGET setup)
  target_link_libraries(setup PRIVATE brantel_bundle_data)
endif()
