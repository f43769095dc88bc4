# SOURCE_DATE_EPOCH (reproducible-builds.org): the one time that a release carries, in the
# Windows programs' headers and on every file of the archives, so that a commit always
# gives the same bytes. It is the environment's when set; otherwise the commit's own time:
# from git in a clone, from the line below in the source archive (git archive writes the
# time there: export-subst in .gitattributes).
set(SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
set(archived_time "$Format:%ct$")
if(NOT SOURCE_DATE_EPOCH AND archived_time MATCHES "^[0-9]+$")
    set(SOURCE_DATE_EPOCH ${archived_time})
elseif(NOT SOURCE_DATE_EPOCH)
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND git rev-parse --absolute-git-dir WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
    # A commit or a checkout moves HEAD's log: the tree is then configured again, and its
    # programs take the new time.
    if(EXISTS "${git_dir}/logs/HEAD")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/logs/HEAD)
    endif()
endif()
if(NOT SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No commit time: these sources are neither a git clone nor the source "
                        "archive. Set SOURCE_DATE_EPOCH to the seconds since 1970 to build them.")
endif()
