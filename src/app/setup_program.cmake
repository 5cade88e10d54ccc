# setup.exe and the Windows-only part of the application layer.

brantel_library(brantel_app
  WINDOWS_SOURCES
    hand_over.cpp
    launch_block.cpp
    own_version.cpp
    registry_setup.cpp
    requirements.cpp
    setup_app.cpp
  LIBS brantel_app_core brantel_worker brantel_resource brantel_frame brantel_base brantel_exception
  WINDOWS_LIBS advapi32 shell32 user32)

set(MANIFEST_PATH ${CMAKE_CURRENT_BINARY_DIR}/setup.manifest)
set(ICON_PATH ${CMAKE_CURRENT_SOURCE_DIR}/res/setup.ico)
configure_file(res/setup.manifest.in ${MANIFEST_PATH} @ONLY)
configure_file(res/setup.rc.in ${CMAKE_CURRENT_BINARY_DIR}/setup.rc @ONLY)

add_executable(setup WIN32
  main.cpp
  ${BRANTEL_SOURCE_ROOT}/src/frame/win_main.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/setup.rc)
target_link_libraries(setup PRIVATE brantel_app)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/setup.rc PROPERTIES
  OBJECT_DEPENDS "${MANIFEST_PATH};${ICON_PATH}")
brantel_unicode_entry(setup)
# The shipped program carries no symbol tables.
target_link_options(setup PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
brantel_delay_load_system_libraries(setup)
