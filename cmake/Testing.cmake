# Testing for every tree: GoogleTest, the Wine session fixture of the Windows trees,
# valgrind's options for ctest -T memcheck, and the formatting check.
if(SUDOKU_BUILD_FUZZ OR SUDOKU_RELEASE_TREE)
    enable_testing() # the fuzz runs (fuzz/CMakeLists.txt), the release tried (packaging/)
endif()
if(NOT SUDOKU_BUILD_TESTS)
    return()
endif()

# ctest -T memcheck: every traced process (the black-box tests start the programs) ends
# with exit code 99 on a memory error or a definite or indirect leak, so the test that
# started it fails. Each process writes its own log, Testing/Temporary/valgrind.<pid>.log
# (one log for a test, as ctest would have it, would keep only its last process's report).
set(MEMORYCHECK_COMMAND_OPTIONS
    "--trace-children=yes --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect --track-origins=yes --error-exitcode=99 --log-file=${CMAKE_BINARY_DIR}/Testing/Temporary/valgrind.%p.log")
set(MEMORYCHECK_SUPPRESSIONS_FILE ${CMAKE_CURRENT_LIST_DIR}/memcheck.supp)
include(CTest)
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # The Windows toolchains use the win32 thread model (no threading library in the
    # programs), whose C++ library lacks what GoogleTest's Notification is made of.
    set(notification ${PROJECT_SOURCE_DIR}/tests/support/gtest_notification)
    target_sources(gtest PRIVATE ${notification}.cpp)
    target_compile_options(gtest PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${notification}.h>")
else()
    find_package(GTest REQUIRED)
endif()

# The Wine session (an X display, a prefix, a warm wineserver) as the fixture "wine":
# every test that runs a Windows program requires it, so ctest starts it before the first
# of them and ends it after the last, whatever -R or -L selects.
function(sudoku_wine_fixture)
    set(session ${PROJECT_SOURCE_DIR}/scripts/wine-session.sh)
    add_test(NAME wine_session_start COMMAND ${session} start)
    add_test(NAME wine_session_stop COMMAND ${session} stop)
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine LABELS wine
                                                       TIMEOUT 1200)
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
endfunction()
if(CMAKE_CROSSCOMPILING)
    sudoku_wine_fixture()
    set(SUDOKU_WINE_FIXTURE FIXTURES_REQUIRED wine)
else()
    set(SUDOKU_WINE_FIXTURE "")
endif()

# sudoku_add_gtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [DESKTOP])
# One test program; its cases are listed by ctest (through Wine when cross-compiling).
# DESKTOP: its cases create windows. Under Wine all processes share one X display, so a
# window activated by one test takes the foreground, and with it the keyboard focus, from
# a test running beside it; such cases hold the lock "desktop" and run one at a time.
function(sudoku_add_gtest name)
    cmake_parse_arguments(ARG "DESKTOP" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    set(properties TIMEOUT 300 ${SUDOKU_WINE_FIXTURE})
    if(ARG_LABELS)
        list(APPEND properties LABELS ${ARG_LABELS})
    endif()
    if(ARG_DESKTOP AND CMAKE_CROSSCOMPILING)
        list(APPEND properties RESOURCE_LOCK desktop)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
                         PROPERTIES ${properties})
endfunction()

# The sources must be as clang-format writes them.
if(NOT CMAKE_CROSSCOMPILING)
    find_program(CLANG_FORMAT clang-format REQUIRED)
    add_test(NAME clang_format
             COMMAND ${CMAKE_COMMAND} -DCLANG_FORMAT=${CLANG_FORMAT}
                     -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/Format.cmake)
    set_tests_properties(clang_format PROPERTIES LABELS format)
endif()
