# GoogleTest for both targets: Debian's packaged library natively, its shipped
# sources compiled with the cross compiler for Windows.
if(NOT SUDOKU_BUILD_TESTS)
    return()
endif()

enable_testing()
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()

# sudoku_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One test program; its cases are listed by ctest (through the emulator when cross-compiling).
function(sudoku_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES TIMEOUT 300)
endfunction()
