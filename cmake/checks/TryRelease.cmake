# The test "package": makes the release of a configured and built tree with CPack,
# unpacks it into an empty folder and uses it as a user would. korvane, started in a
# folder of the user's, writes its two puzzle files and ends with exit code 1; sudoku,
# started from there, solves the example grille.txt beside itself into the exact
# solution.txt. The archive holds nothing else than the programs, the example and the
# read-me in French and English, its text files in the platform's line ends. The
# programs' files say what systems they start on: the Windows ones import only what
# Windows XP SP3 exports, the Linux ones need no newer C library than GLIBC_BOUND.
#   cmake -DBUILD_DIR=<tree> -DWORK=<scratch folder> -DOBJDUMP=<objdump> [-DEXE=.exe]
#         [-DRUNNER=<a,b,...>] [-DGLIBC_BOUND=<version>] -P TryRelease.cmake
# RUNNER is put before each program (the Windows tree's emulator, commas for semicolons).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../GridData.cmake)
string(REPLACE "," ";" runner "${RUNNER}")

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/unpacked ${WORK}/user)
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${BUILD_DIR}/CPackConfig.cmake
                        -B ${WORK}/cpack OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB archive ${WORK}/cpack/korvane-sudoku-*.zip ${WORK}/cpack/korvane-sudoku-*.tar.gz)
list(LENGTH archive count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "CPack made ${count} archives, not one: ${archive}")
endif()
get_filename_component(name ${archive} NAME)
string(REGEX REPLACE "\\.(zip|tar\\.gz)$" "" name ${name})
message(STATUS "${name}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${archive} WORKING_DIRECTORY ${WORK}/unpacked
                COMMAND_ERROR_IS_FATAL ANY)
set(top ${WORK}/unpacked/${name})
set(user ${WORK}/user)

# check(<what> <condition...>): reports the check; a failed one fails the test at the end.
macro(check what)
    if(${ARGN})
        message(STATUS "ok: ${what}")
    else()
        message(SEND_ERROR "FAILED: ${what}")
    endif()
endmacro()

file(GLOB files RELATIVE ${top} ${top}/*)
list(SORT files)
list(JOIN files " " files)
check("the archive holds the programs, the example and the read-me only (${files})"
      files STREQUAL "LISEZMOI.txt grille.txt korvane${EXE} sudoku${EXE}")

foreach(text IN ITEMS grille.txt LISEZMOI.txt)
    # Bytes as hexadecimal pairs: file(READ) in text drops carriage returns.
    file(READ ${top}/${text} bytes HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
    string(REGEX MATCHALL "0a " lines "${bytes}")
    string(REGEX MATCHALL "0d 0a " crlf "${bytes}")
    list(LENGTH lines line_count)
    list(LENGTH crlf crlf_count)
    if(EXE)
        check("${text}: every line ends with CR LF" line_count GREATER 0 AND
              crlf_count EQUAL line_count)
    else()
        check("${text}: lines end with LF alone" line_count GREATER 0 AND crlf_count EQUAL 0)
    endif()
endforeach()
file(READ ${top}/LISEZMOI.txt readme)
check("the read-me in French and English" readme MATCHES "Codes de sortie" AND
      readme MATCHES "Exit codes")
# "Français": the c cedilla is one byte of code page 1252 in the Windows read-me, two
# bytes of UTF-8 in the Linux one; nothing else of UTF-8 in the Windows one.
file(READ ${top}/LISEZMOI.txt readme HEX)
if(EXE)
    # Hexadecimal pairs, so that a match cannot straddle two bytes.
    string(REGEX REPLACE "(..)" "\\1 " pairs "${readme}")
    check("LISEZMOI.txt in code page 1252" pairs MATCHES "46 72 61 6e e7 61 69 73" AND
          NOT pairs MATCHES "c3 ")
else()
    check("LISEZMOI.txt in UTF-8" readme MATCHES "4672616ec3a7616973")
endif()

# The read-me's lines hold at most 80 characters (a byte of code page 1252, a sequence
# of UTF-8), and each title is underlined by as many characters as it has.
string(REGEX REPLACE "(..)" "\\1 " pairs "${readme}")
string(REPLACE "0d 0a " "0a " pairs "${pairs}")
if(NOT EXE)
    string(REGEX REPLACE "[89ab][0-9a-f] " "" pairs "${pairs}") # UTF-8's continuation bytes
endif()
string(REPLACE "0a " ";" lines "${pairs}")
set(previous 0)
set(long "")
set(rules "")
foreach(line IN LISTS lines)
    string(LENGTH "${line}" length)
    math(EXPR length "${length} / 3")
    if(length GREATER 80)
        list(APPEND long ${length})
    endif()
    if(line MATCHES "^((3d )+|(2d )+)$" AND NOT length EQUAL previous)
        list(APPEND rules "${length} under ${previous}")
    endif()
    set(previous ${length})
endforeach()
list(LENGTH long long_count)
list(LENGTH rules rule_count)
check("LISEZMOI.txt: no line longer than 80 characters (${long})" long_count EQUAL 0)
check("LISEZMOI.txt: each underline as long as its title (${rules})" rule_count EQUAL 0)

# The Windows programs start on Windows XP SP3: their header asks for no later subsystem
# than XP's (5.1), and every function they import is one that XP SP3's DLL exports (the
# lists of xp-sp3-exports/, made as its README says); a name it lacks would stop the
# loader before the program runs.
if(EXE)
    set(exports ${CMAKE_CURRENT_LIST_DIR}/xp-sp3-exports)
    foreach(program IN ITEMS korvane sudoku)
        execute_process(COMMAND ${OBJDUMP} -p ${top}/${program}${EXE} OUTPUT_VARIABLE dump
                        COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCH "\nMajorSubsystemVersion[ \t]+([0-9]+)\nMinorSubsystemVersion[ \t]+([0-9]+)"
                     subsystem "${dump}")
        set(subsystem "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}")
        check("${program}${EXE} asks for subsystem version ${subsystem}, at most 5.1"
              subsystem VERSION_LESS_EQUAL 5.1)
        # In order: each DLL's name, then one line per function ("vma  hint  name").
        string(REGEX MATCHALL "\tDLL Name: [^\n]+|\n\t[0-9a-f]+\t +[0-9]+  [^\n]+" entries
                              "${dump}")
        set(count 0)
        set(unknown "")
        foreach(entry IN LISTS entries)
            if(entry MATCHES "DLL Name: ([^ ]+)")
                string(TOLOWER "${CMAKE_MATCH_1}" dll)
                set(known "")
                if(EXISTS ${exports}/${dll}.txt)
                    file(STRINGS ${exports}/${dll}.txt known)
                endif()
            elseif(entry MATCHES "[0-9]  ([^ ]+)")
                math(EXPR count "${count} + 1")
                if(NOT CMAKE_MATCH_1 IN_LIST known)
                    list(APPEND unknown "${dll} ${CMAKE_MATCH_1}")
                endif()
            endif()
        endforeach()
        list(LENGTH unknown missing)
        if(missing GREATER 0)
            list(JOIN unknown ", " unknown)
            set(unknown " (not: ${unknown})")
        endif()
        check("${program}${EXE}: its ${count} imports are all exported by Windows XP SP3${unknown}"
              count GREATER 0 AND missing EQUAL 0)
    endforeach()
endif()

# The Linux programs run on older systems: the highest version of the C library they
# need, none when they are linked statically.
if(NOT EXE)
    foreach(program IN ITEMS korvane sudoku)
        execute_process(COMMAND ${OBJDUMP} -T ${top}/${program} OUTPUT_VARIABLE symbols
                        ERROR_VARIABLE objdump_error RESULT_VARIABLE dynamic)
        string(REGEX MATCHALL "GLIBC_[0-9.]+" versions "${symbols}")
        set(highest "")
        foreach(version IN LISTS versions)
            string(REPLACE "GLIBC_" "" version ${version})
            if(highest STREQUAL "" OR version VERSION_GREATER highest)
                set(highest ${version})
            endif()
        endforeach()
        if(highest STREQUAL "")
            if(NOT dynamic EQUAL 0 AND objdump_error MATCHES "not a dynamic object")
                set(needs "no C library of the system (statically linked)")
            else()
                set(needs "no versioned C library symbol")
            endif()
            set(within TRUE)
        else()
            set(needs "GLIBC_${highest}")
            set(within FALSE)
            if(highest VERSION_LESS_EQUAL GLIBC_BOUND)
                set(within TRUE)
            endif()
        endif()
        check("${program} needs ${needs}, at most GLIBC_${GLIBC_BOUND}" within)
    endforeach()
endif()

execute_process(COMMAND ${runner} ${top}/korvane${EXE} WORKING_DIRECTORY ${user}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
check("korvane ends with exit code 1 (${status})" status EQUAL 1)
sudoku_read_board(${user}/solution.txt solution)
sudoku_read_board(${user}/masque.txt puzzle)
set(sound TRUE)
if(NOT solution MATCHES "^[1-9]+$" OR NOT puzzle MATCHES "^[0-9]+$")
    set(sound FALSE)
endif()
foreach(file IN ITEMS solution.txt masque.txt)
    set(bytes "")
    if(EXISTS ${user}/${file})
        file(READ ${user}/${file} bytes HEX)
    endif()
    string(LENGTH "${bytes}" length)
    if(bytes MATCHES "^(3[0-9]0a)*$" AND length EQUAL 324)
    else()
        set(sound FALSE)
    endif()
endforeach()
if(sound)
    foreach(cell RANGE 80)
        string(SUBSTRING ${puzzle} ${cell} 1 given)
        string(SUBSTRING ${solution} ${cell} 1 digit)
        if(NOT given EQUAL 0 AND NOT given EQUAL digit)
            set(sound FALSE)
        endif()
    endforeach()
endif()
check("korvane's files: 81 lines of one digit and LF each, the puzzle's digits the solution's"
      sound)

execute_process(COMMAND ${runner} ${top}/sudoku${EXE} WORKING_DIRECTORY ${user}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
check("sudoku ends with exit code 0 (${status})" status EQUAL 0)
sudoku_example(example solved)
sudoku_solution_text(${solved} expected)
file(WRITE ${WORK}/expected.txt "${expected}")
file(SHA256 ${WORK}/expected.txt expected)
set(saved "")
if(EXISTS ${top}/solution.txt)
    file(SHA256 ${top}/solution.txt saved)
endif()
check("sudoku's solution.txt beside it is the example's solution" saved STREQUAL expected)
