# Helpers that give every target of the project the same shape.

# quarrow_library(<name> SOURCES <files...> [PUBLIC_LIBS <libs...>] [PRIVATE_LIBS <libs...>])
# One static library per subsystem folder; its folder's parent is the include root, so code
# includes "<folder>/<file>.h".
function(quarrow_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# quarrow_test(<name> SOURCES <files...> LIBS <libs...>)
# A GoogleTest executable registered with CTest. Tests find the project's source tree, the
# shared test data and the build's bin directory through compile definitions.
function(quarrow_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    QUARROW_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUARROW_TESTDATA_DIR="${QUARROW_TESTDATA_DIR}"
    QUARROW_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    QUARROW_PLUGIN_DIR="${QUARROW_PLUGIN_DIR}")
  # Every test file prints QStrings the same way in failure messages.
  target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/print_qstring.h)
  quarrow_embed_version(${name} DESCRIPTION "quarrow test program ${name}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${name}."
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
