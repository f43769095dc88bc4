# Prints "<NAME>: N passed, M failed" from the JUnit file that ctest wrote for a run
# (test presets' outputJUnitFile): failed counts the tests that failed and those that
# could not run; a missing file counts as one failure.
#   cmake -DJUNIT=<junit.xml> -DNAME=<name> -P TestSummary.cmake
cmake_minimum_required(VERSION 3.25)
set(passed 0)
set(failed 1)
if(EXISTS ${JUNIT})
    file(READ ${JUNIT} junit)
    string(REGEX MATCHALL "<testcase [^>]* status=\"run\"" run "${junit}")
    string(REGEX MATCHALL "<testcase [^>]* status=\"(fail|notrun)\"" not_passed "${junit}")
    list(LENGTH run passed)
    list(LENGTH not_passed failed)
endif()
message("${NAME}: ${passed} passed, ${failed} failed")
