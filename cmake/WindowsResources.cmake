# windows_program_resources(<program>): compiles <program>.rc into the Windows program
# <program> (a target of the calling folder), with res/<program>.exe.manifest.in and
# res/<program>_version.h.in configured into the build folder: the project's version,
# and in <PROGRAM>_ARCH the processor the manifest names (x86, or amd64 for the 64-bit
# test build). The .rc includes res/<program>.ico.
function(windows_program_resources program)
    string(TOUPPER ${program} upper)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(${upper}_ARCH amd64)
    else()
        set(${upper}_ARCH x86)
    endif()
    set(here ${CMAKE_CURRENT_SOURCE_DIR})
    set(built ${CMAKE_CURRENT_BINARY_DIR})
    configure_file(${here}/res/${program}.exe.manifest.in ${built}/${program}.exe.manifest @ONLY)
    configure_file(${here}/res/${program}_version.h.in ${built}/${program}_version.h @ONLY)
    target_sources(${program} PRIVATE ${program}.rc)
    target_include_directories(${program} PRIVATE ${built})
    set_property(SOURCE ${program}.rc APPEND PROPERTY OBJECT_DEPENDS ${here}/res/${program}.ico
                 ${built}/${program}.exe.manifest ${built}/${program}_version.h)
endfunction()
