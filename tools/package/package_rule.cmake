# The package of setup.exe (RCDATA 103), packed from the product folder by the
# host build of brantel-package.
#
# BRANTEL_PRODUCT_DIR names the folder; by default it is the stand-in
# product: Brantel.exe built from product/, beside the repository's small
# sample files (a 32-bit and 64-bit pair, data, a text) and one file larger
# than 16 MiB that the build adds (it is made here, never committed).
# BRANTEL_PACKAGE_TOOL may name an existing host build of the builder;
# otherwise the one of tools/host_tools.cmake is used.

set(BRANTEL_SAMPLE_PRODUCT_DIR ${BRANTEL_SOURCE_ROOT}/tests/data/sample-product)
set(BRANTEL_PRODUCT_DIR ${BRANTEL_SAMPLE_PRODUCT_DIR} CACHE PATH "Folder of the product files that setup.exe installs")
set(BRANTEL_PACKAGE_TOOL "" CACHE FILEPATH "A host build of brantel-package; empty: build one in this tree")

brantel_host_tool(package_tool package_tool_target "${BRANTEL_PACKAGE_TOOL}" tools/package/brantel-package)
# The builder's path, for the tests and benchmarks of this tree.
set(BRANTEL_PACKAGE_TOOL_PATH ${package_tool} CACHE INTERNAL "")
set(BRANTEL_PACKAGE_TOOL_TARGET "${package_tool_target}" CACHE INTERNAL "")

file(GLOB_RECURSE product_files CONFIGURE_DEPENDS ${BRANTEL_PRODUCT_DIR}/*)
if(BRANTEL_PRODUCT_DIR STREQUAL BRANTEL_SAMPLE_PRODUCT_DIR)
  set(product_folder ${CMAKE_BINARY_DIR}/sample-product)
  set(product_stamp ${CMAKE_BINARY_DIR}/sample-product.stamp)
  add_custom_command(OUTPUT ${product_stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${product_folder}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${BRANTEL_SAMPLE_PRODUCT_DIR} ${product_folder}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:brantel_product> ${product_folder}/Brantel.exe
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${product_folder}/data/large.txt -DSIZE_MIB=17
      -P ${CMAKE_CURRENT_SOURCE_DIR}/make_large_file.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${product_stamp}
    DEPENDS ${product_files} ${CMAKE_CURRENT_SOURCE_DIR}/make_large_file.cmake brantel_product
    COMMENT "Staging the stand-in product")
  set(product_inputs ${product_stamp})
else()
  set(product_folder ${BRANTEL_PRODUCT_DIR})
  set(product_inputs ${product_files})
endif()
set(BRANTEL_PRODUCT_FOLDER ${product_folder} CACHE INTERNAL "The folder packed into setup.exe")

set(PACKAGE_FILE ${CMAKE_BINARY_DIR}/package/package.bin)
add_custom_command(OUTPUT ${PACKAGE_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND ${package_tool} ${product_folder} ${PACKAGE_FILE} > ${CMAKE_BINARY_DIR}/package/package.log
  DEPENDS ${product_inputs} ${package_tool} ${package_tool_target}
  COMMENT "Packing ${product_folder}")
add_custom_target(brantel_package DEPENDS ${PACKAGE_FILE})

# The resource as an object library: whatever links it carries the package.
configure_file(package.rc.in ${CMAKE_CURRENT_BINARY_DIR}/package.rc @ONLY)
add_library(brantel_package_resource OBJECT ${CMAKE_CURRENT_BINARY_DIR}/package.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/package.rc PROPERTIES OBJECT_DEPENDS ${PACKAGE_FILE})
add_dependencies(brantel_package_resource brantel_package)
if(TARGET setup)
  target_link_libraries(setup PRIVATE brantel_package_resource)
endif()
