# The package benchmark (windows tree, run under Wine by hand):
#   ninja -C build/windows package_bench package_bench_data
#   scripts/wine-run.sh build/windows/bench/package_bench.exe \
#     'Z:\...\build\windows\bench\package-bench.bin'
# package_bench_data gathers about 200 MB of realistic product files and packs
# them with the host builder; it is not part of the normal build.
set(bench_product ${CMAKE_CURRENT_BINARY_DIR}/package-bench-product)
set(bench_package ${CMAKE_CURRENT_BINARY_DIR}/package-bench.bin)
add_custom_command(OUTPUT ${bench_package}
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package_bench_data.sh ${bench_product}
  COMMAND ${BRANTEL_PACKAGE_TOOL_PATH} ${bench_product} ${bench_package} > ${bench_package}.log
  COMMAND tail -n 1 ${bench_package}.log
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/package_bench_data.sh ${BRANTEL_PACKAGE_TOOL_PATH} ${BRANTEL_PACKAGE_TOOL_TARGET}
  COMMENT "Gathering and packing the benchmark's product files"
  VERBATIM)
add_custom_target(package_bench_data DEPENDS ${bench_package})

add_executable(package_bench EXCLUDE_FROM_ALL package_bench.cpp)
target_link_libraries(package_bench PRIVATE brantel_base psapi)
brantel_unicode_entry(package_bench)
