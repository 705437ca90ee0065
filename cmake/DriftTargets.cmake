# Helpers that keep every folder's CMakeLists.txt to a line or two.
# Sources are globbed per folder (one library per source folder); CONFIGURE_DEPENDS
# re-runs the glob when files are added, so new files need no CMake edit.

set(DRIFT_WARNINGS -Wall -Wextra -Werror -Wno-format-zero-length)

# drift_include_folder(<target>)
# Each library publishes its own folder only, as build/include/<target>/<folder> (a link
# to the source folder; <folder> is its path below src/ or tools/, so a library in a
# subfolder such as render/fx publishes only that), and a program or library sees the
# folders of what it links, through CMake's usage requirements. A header from a library
# that is not linked is therefore not found: an include that crosses the layers upwards
# fails to build.
function(drift_include_folder target)
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "^${CMAKE_SOURCE_DIR}/src/")
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  else()
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/tools ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# drift_library(<target> DEPENDS <libs...>)
# A static library from every .cpp of the current source folder (every .cpp below it
# with RECURSE), main.cpp left out.
function(drift_library target)
  cmake_parse_arguments(ARG "RECURSE" "" "DEPENDS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    add_library(${target} STATIC ${sources})
    target_compile_options(${target} PRIVATE ${DRIFT_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
  endif()
  drift_include_folder(${target})
endfunction()

# drift_executable(<target> SOURCES <files...> DEPENDS <libs...>)
function(drift_executable target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_compile_options(${target} PRIVATE ${DRIFT_WARNINGS})
  target_link_libraries(${target} PRIVATE ${ARG_DEPENDS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# drift_tests(<name> DEPENDS <libs...> [LABELS <labels...>])
# One GoogleTest program from every .cpp of the current folder; each test case is
# registered with CTest (discovered when the tests run, so building stays fast).
function(drift_tests name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target drift_tests_${name})
  add_executable(${target} ${sources})
  target_compile_options(${target} PRIVATE ${DRIFT_WARNINGS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} drift_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    DRIFT_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DRIFT_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(labels unit)
  if(ARG_LABELS)
    set(labels ${ARG_LABELS})
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${labels}" TIMEOUT 300)
endfunction()

# drift_shipped_program(<target>)
# The programs the release archive carries (scripts/package.sh). Only libraries the
# program calls become its dependencies, so the archive bundles no more than it needs.
# The C++ runtime (libstdc++, libgcc_s) stays the desktop's, shared with its GL driver:
# linked in statically, this compiler's libstdc++ calls arc4random (glibc 2.36, pulled in
# with the old string ABI's instantiations) and its unwinder _dl_find_object (2.35).
function(drift_shipped_program target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT DRIFT_SANITIZE)
    target_link_options(${target} PRIVATE LINKER:--as-needed)
  endif()
endfunction()
