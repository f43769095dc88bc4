# Checks built Windows programs as files: PE format and machine, GUI subsystem, and an
# import table that names only the system DLLs that the programs may use (no compiler
# runtime DLL).
#   cmake -DOBJDUMP=<objdump> -DFORMAT=pei-i386|pei-x86-64 -DPROGRAMS=<a.exe;b.exe>
#         [-DWITH_RESOURCES=<a.exe>] -P check_pe.cmake
# WITH_RESOURCES names the programs that must carry korvane's resources: icon groups 100
# and "A" of 8 images each, version information, and a manifest with id 1.
cmake_minimum_required(VERSION 3.25)

if(NOT OBJDUMP OR NOT FORMAT OR NOT PROGRAMS)
    message(FATAL_ERROR "check_pe.cmake needs OBJDUMP, FORMAT and PROGRAMS")
endif()

if(FORMAT STREQUAL "pei-i386")
    set(magic "010b")
else()
    set(magic "020b")
endif()
# The system DLLs whose Windows XP SP3 exports the release test knows.
set(system_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll)
list(JOIN system_dlls ", " system_text)

set(faults "")
foreach(program IN LISTS PROGRAMS)
    get_filename_component(name "${program}" NAME)
    execute_process(COMMAND "${OBJDUMP}" -p "${program}" OUTPUT_VARIABLE dump
                    ERROR_VARIABLE error RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        list(APPEND faults "${name}: objdump failed: ${error}")
        continue()
    endif()
    if(NOT dump MATCHES "file format ${FORMAT}\n")
        string(REGEX MATCH "file format [^\n]*" found "${dump}")
        list(APPEND faults "${name}: ${found}, expected ${FORMAT}")
    endif()
    if(NOT dump MATCHES "\nMagic[ \t]+${magic}")
        list(APPEND faults "${name}: optional header magic is not ${magic}")
    endif()
    if(NOT dump MATCHES "\nSubsystem[ \t]+00000002")
        string(REGEX MATCH "\nSubsystem[^\n]*" found "${dump}")
        list(APPEND faults "${name}: not a GUI program:${found}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    if(NOT imports)
        list(APPEND faults "${name}: no import table found")
    endif()
    set(dlls "")
    foreach(line IN LISTS imports)
        string(REPLACE "DLL Name: " "" dll "${line}")
        string(STRIP "${dll}" dll)
        list(APPEND dlls "${dll}")
        string(TOLOWER "${dll}" lower)
        if(NOT lower IN_LIST system_dlls)
            list(APPEND faults "${name}: imports ${dll}, not one of ${system_text}")
        endif()
    endforeach()
    if(program IN_LIST WITH_RESOURCES)
        # The resource tree as objdump prints it: type entries at the first level, then
        # names or ids, then languages and their leaves.
        string(REGEX MATCH "\n[0-9a-f]+   Entry: ID: 0x00000e,.*\n[0-9a-f]+   Entry: ID: 0x000010,"
                     icon_groups "${dump}")
        string(REGEX MATCHALL "Size: 0x000076," group_sizes "${icon_groups}")
        list(LENGTH group_sizes group_count)
        if(NOT icon_groups MATCHES "Entry: name: [^\n]*\]: A, " OR
           NOT icon_groups MATCHES "Entry: ID: 0x000064," OR NOT group_count EQUAL 2)
            list(APPEND faults "${name}: icon groups 100 and \"A\" of 8 images each not found")
        endif()
        if(NOT dump MATCHES "\n[0-9a-f]+   Entry: ID: 0x000010,")
            list(APPEND faults "${name}: no version information")
        endif()
        if(NOT dump MATCHES "\n[0-9a-f]+   Entry: ID: 0x000018,[^\n]*\n[^\n]*Name Table[^\n]*\n[0-9a-f]+     Entry: ID: 0x000001,")
            list(APPEND faults "${name}: no manifest with id 1")
        endif()
    endif()
    list(JOIN dlls ", " dll_text)
    message(STATUS "${name}: ${FORMAT}, GUI, imports ${dll_text}")
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "PE check failed:\n  ${text}")
endif()
