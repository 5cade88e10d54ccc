# Shared build rules of both trees.
#
# The windows tree (CMAKE_SYSTEM_NAME Windows) builds setup.exe and the Windows
# test programs; the host tree builds the code that touches no Win32 API, its
# tests and the host tools.  BRANTEL_WINDOWS / BRANTEL_HOST say which one this is.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(BRANTEL_WINDOWS ON)
  set(BRANTEL_HOST OFF)
else()
  set(BRANTEL_WINDOWS OFF)
  set(BRANTEL_HOST ON)
endif()

set(BRANTEL_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(BRANTEL_TEST_TIMEOUT 120 CACHE STRING "Time limit of one ctest entry, in seconds")

macro(brantel_setup_googletest)
  # Google Test is built from the distribution's sources with each tree's own
  # compiler and flags (mingw, or clang with the sanitizers), never prebuilt.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  if(BRANTEL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(BRANTEL_WINDOWS)
    add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endmacro()

macro(brantel_apply_warnings)
  # Everything of ours from here on: warnings are errors in both trees.
  add_compile_options(-Wall -Wextra -Werror)
endmacro()

# brantel_library(NAME [SOURCES ...] [WINDOWS_SOURCES ...] [HOST_SOURCES ...] [LIBS ...])
# One library per subsystem.  SOURCES build in both trees, WINDOWS_SOURCES only
# in the windows tree, HOST_SOURCES only in the host tree.
function(brantel_library name)
  cmake_parse_arguments(arg "" "" "SOURCES;WINDOWS_SOURCES;HOST_SOURCES;LIBS;WINDOWS_LIBS" ${ARGN})
  set(sources ${arg_SOURCES})
  if(BRANTEL_WINDOWS)
    list(APPEND sources ${arg_WINDOWS_SOURCES})
  else()
    list(APPEND sources ${arg_HOST_SOURCES})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${BRANTEL_SOURCE_ROOT}/src)
  target_link_libraries(${name} PUBLIC ${arg_LIBS})
  if(BRANTEL_WINDOWS AND arg_WINDOWS_LIBS)
    foreach(lib ${arg_WINDOWS_LIBS})
      if(lib IN_LIST BRANTEL_DELAY_LOADED)
        target_link_libraries(${name} PUBLIC "$<IF:$<BOOL:$<TARGET_PROPERTY:BRANTEL_DELAY_LOAD>>,${lib}_delayed,${lib}>")
      else()
        target_link_libraries(${name} PUBLIC ${lib})
      endif()
    endforeach()
  endif()
endfunction()

# Libraries that a program marked with brantel_delay_load_system_libraries
# binds on first call instead of at process start.  At start the loader
# searches the program's own folder first, and under Wine these pull in
# libraries (shlwapi pulls shcore) that are not known DLLs there; once the
# program runs, frame::restrictLibrarySearch has limited every search to System32.
set(BRANTEL_DELAY_LOADED shell32 shlwapi ole32 oleaut32 comdlg32 windowscodecs version uxtheme comctl32 wininet
    shcore uuid)

# One imported library "<name>_delayed" per entry, made from mingw's import
# library by scripts/make-delay-lib.sh.
function(brantel_define_delay_libraries)
  set(outputs "")
  foreach(lib ${BRANTEL_DELAY_LOADED})
    set(out ${CMAKE_BINARY_DIR}/delayload/lib${lib}_delay.a)
    if(lib STREQUAL "uuid")
      # GUID constants only: nothing to load, keep the ordinary library.
      add_library(${lib}_delayed INTERFACE IMPORTED GLOBAL)
      set_target_properties(${lib}_delayed PROPERTIES INTERFACE_LINK_LIBRARIES uuid)
      continue()
    endif()
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
      COMMAND bash ${BRANTEL_SOURCE_ROOT}/scripts/make-delay-lib.sh ${lib} ${out}
      DEPENDS ${BRANTEL_SOURCE_ROOT}/scripts/make-delay-lib.sh
      VERBATIM)
    list(APPEND outputs ${out})
    add_library(${lib}_delayed STATIC IMPORTED GLOBAL)
    set_target_properties(${lib}_delayed PROPERTIES IMPORTED_LOCATION ${out})
  endforeach()
  add_custom_target(brantel_delay_libraries DEPENDS ${outputs})
endfunction()

function(brantel_delay_load_system_libraries target)
  set_target_properties(${target} PROPERTIES BRANTEL_DELAY_LOAD ON)
  add_dependencies(${target} brantel_delay_libraries)
endfunction()

# Exit code of a test program whose tests ran without failure but at least
# one skipped itself (tests/support/test_main.cpp); every entry reports it as
# skipped.
set(BRANTEL_TEST_SKIPPED_EXIT_CODE 77)

# brantel_test_filters(OUT SOURCES PER_TEST)
# The GoogleTest filters of a program's ctest entries under Wine, read from
# its sources: one "entry name=filter" per suite (PER_TEST: per test).  A
# parameterised suite's tests are named "Instance/Suite.Test/N" and a typed
# suite's "Suite/N.Test" or "Instance/Suite/N.Test"; their filters say so.
function(brantel_test_filters out sources per_test)
  set(id "[A-Za-z0-9_]+")
  set(gap "[ \t\r\n]*")
  # The character before a macro keeps TEST( from matching inside TYPED_TEST(.
  set(macro "(^|[^A-Za-z0-9_])(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\\(${gap}(${id})${gap},${gap}(${id})")
  set(instance "INSTANTIATE_(TEST|TYPED_TEST)_SUITE_P\\(${gap}([A-Za-z0-9_]*)${gap},${gap}(${id})")
  set(tests "")
  foreach(src ${sources})
    file(READ ${src} text)
    string(REGEX MATCHALL "${macro}" found "${text}")
    foreach(match ${found})
      string(REGEX REPLACE "${macro}" "\\2|\\3|\\4" test "${match}")
      list(APPEND tests "${test}")
    endforeach()
    string(REGEX MATCHALL "${instance}" found "${text}")
    foreach(match ${found})
      string(REGEX REPLACE "${instance}" "\\2;\\3" parts "${match}")
      list(GET parts 0 prefix)
      list(GET parts 1 suite)
      if(prefix STREQUAL "")
        set(prefix "<none>")  # an empty list item would vanish
      endif()
      list(APPEND instances_of_${suite} "${prefix}")
    endforeach()
  endforeach()

  set(filters "")
  foreach(test ${tests})
    string(REPLACE "|" ";" parts "${test}")
    list(GET parts 0 kind)
    list(GET parts 1 suite)
    list(GET parts 2 case)
    set(case_filter ${case})
    if(kind STREQUAL "TEST_P")
      set(case_filter "${case}/*")
    endif()
    if(per_test)
      set(name "${suite}.${case}")
      set(wanted "${case_filter}")
    else()
      set(name "${suite}")
      set(wanted "*")
    endif()
    # The suite as GoogleTest names it: "Instance/Suite" once per instantiation
    # of a parameterised suite, and "/N" after a typed suite, one per type.
    set(suite_names "${suite}")
    if(kind STREQUAL "TEST_P" OR kind STREQUAL "TYPED_TEST_P")
      set(prefixes "*")  # instantiated where the sources do not show it
      if(DEFINED instances_of_${suite})
        set(prefixes ${instances_of_${suite}})
      endif()
      list(TRANSFORM prefixes APPEND "/${suite}" OUTPUT_VARIABLE suite_names)
      list(TRANSFORM suite_names REPLACE "^<none>/" "")
    endif()
    if(kind MATCHES "^TYPED_TEST")
      list(TRANSFORM suite_names APPEND "/*")
    endif()
    list(TRANSFORM suite_names APPEND ".${wanted}" OUTPUT_VARIABLE patterns)
    list(JOIN patterns ":" filter)
    list(APPEND filters "${name}=${filter}")
  endforeach()
  list(REMOVE_DUPLICATES filters)
  set(${out} "${filters}" PARENT_SCOPE)
endfunction()

# brantel_test(NAME SOURCES ... [LIBS ...] [WINDOWS_ONLY] [HOST_ONLY] [PER_TEST]
#              [TIMEOUT seconds] [LABELS ...] [DEPENDS targets...]
#              [NETWORK [NETWORK_CONFIG updates.toml] [NETWORK_NAMES host...]])
# A Google Test program.  In the host tree it runs natively (under the
# sanitizers in the sanitize tree); in the windows tree under Wine, where every
# test suite of the program becomes one ctest entry with a fresh prefix of its
# own (PER_TEST: every single test gets its own entry and prefix).  Every
# program links the main of tests/support/test_main.cpp: an entry that runs no
# test fails, and one in which a test skipped itself is reported as skipped.
#
# NETWORK (windows tree): every entry runs in a network sandbox of its own
# (scripts/net-sandbox.sh) with the update server on 443 of its loopback,
# serving NETWORK_CONFIG under the host names NETWORK_NAMES (default
# updates.brantel.test); the Wine prefix lives inside the sandbox.  An entry
# that needs another server sets BRANTEL_NET_SERVER_CMD in its ENVIRONMENT.
# These entries are labelled "network" too.
function(brantel_test name)
  cmake_parse_arguments(arg "WINDOWS_ONLY;HOST_ONLY;PER_TEST;NETWORK" "TIMEOUT;NETWORK_CONFIG"
                        "SOURCES;LIBS;LABELS;DEPENDS;NETWORK_NAMES" ${ARGN})
  if(arg_WINDOWS_ONLY AND NOT BRANTEL_WINDOWS)
    return()
  endif()
  if(arg_HOST_ONLY AND NOT BRANTEL_HOST)
    return()
  endif()
  if(NOT TARGET brantel_test_main)
    add_library(brantel_test_main STATIC ${BRANTEL_SOURCE_ROOT}/tests/support/test_main.cpp)
    target_link_libraries(brantel_test_main PUBLIC GTest::gtest)
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest GTest::gmock brantel_test_main)
  target_include_directories(${name} PRIVATE ${BRANTEL_SOURCE_ROOT}/src ${BRANTEL_SOURCE_ROOT}/tests)
  target_compile_definitions(${name} PRIVATE BRANTEL_TEST_DATA="${BRANTEL_SOURCE_ROOT}/tests/data")
  if(arg_DEPENDS)
    add_dependencies(${name} ${arg_DEPENDS})
  endif()
  set(timeout ${BRANTEL_TEST_TIMEOUT})
  if(arg_TIMEOUT)
    set(timeout ${arg_TIMEOUT})
  endif()
  if(BRANTEL_WINDOWS)
    set(labels windows ${arg_LABELS})
  elseif(BRANTEL_SANITIZE)
    set(labels sanitize ${arg_LABELS})
  else()
    set(labels host ${arg_LABELS})
  endif()

  if(NOT BRANTEL_WINDOWS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      TIMEOUT ${timeout}
      LABELS "${labels}"
      SKIP_RETURN_CODE ${BRANTEL_TEST_SKIPPED_EXIT_CODE})
    return()
  endif()

  # Under Wine: one entry per suite (or per test), found by reading the
  # sources; a changed source reads them again at the next build.
  set(command ${name})
  if(arg_NETWORK)
    # The sandbox comes first and runs wine-run.sh inside, so the prefix, its
    # wineserver and Xvfb share the sandbox's network.
    set(command bash ${BRANTEL_SOURCE_ROOT}/scripts/net-sandbox.sh)
    if(arg_NETWORK_CONFIG)
      list(APPEND command --config ${arg_NETWORK_CONFIG})
    endif()
    foreach(host ${arg_NETWORK_NAMES})
      list(APPEND command --cert-for ${host})
    endforeach()
    list(APPEND command -- bash ${BRANTEL_SOURCE_ROOT}/scripts/wine-run.sh $<TARGET_FILE:${name}>)
    list(APPEND labels network)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${arg_SOURCES})
  brantel_test_filters(entries "${arg_SOURCES}" "${arg_PER_TEST}")
  foreach(entry ${entries})
    string(REGEX REPLACE "=.*" "" entry_name "${entry}")
    string(REGEX REPLACE "^[^=]*=" "" filter "${entry}")
    set(test_name "${name}:${entry_name}")
    add_test(NAME ${test_name} COMMAND ${command} --gtest_filter=${filter})
    set_tests_properties(${test_name} PROPERTIES
      TIMEOUT ${timeout}
      LABELS "${labels}"
      SKIP_RETURN_CODE ${BRANTEL_TEST_SKIPPED_EXIT_CODE}
      FIXTURES_REQUIRED wine_template
      ENVIRONMENT "BRANTEL_BUILD_DIR=${CMAKE_BINARY_DIR}")
  endforeach()
endfunction()

# A Windows program whose entry is wWinMain or wmain (setup.exe and the test
# partners); GoogleTest programs keep the runtime's plain main.
function(brantel_unicode_entry target)
  target_link_options(${target} PRIVATE -municode)
endfunction()
