# After the archive: beside it, the source archive of the commit (from a git clone; git
# archive dates and owns its files by the commit, so one commit gives one archive) and
# SHA256SUMS, the sums of this version's archives in the folder, as sha256sum -c reads them.
set(folder ${CPACK_RELEASE_FOLDER})
set(stem ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION})
if(EXISTS ${CPACK_RELEASE_SOURCE}/.git)
    execute_process(COMMAND git archive --prefix=${stem}-source/ -o ${folder}/${stem}-source.tar.gz
                            HEAD WORKING_DIRECTORY ${CPACK_RELEASE_SOURCE} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND git status --porcelain --untracked-files=no
                    WORKING_DIRECTORY ${CPACK_RELEASE_SOURCE} OUTPUT_VARIABLE changes)
    if(changes)
        message(WARNING "Uncommitted changes: ${stem}-source.tar.gz holds the commit without them.")
    endif()
endif()
file(GLOB archives RELATIVE ${folder} ${folder}/${stem}-*.zip ${folder}/${stem}-*.tar.gz)
list(SORT archives)
set(sums "")
foreach(archive IN LISTS archives)
    file(SHA256 ${folder}/${archive} sum)
    string(APPEND sums "${sum}  ${archive}\n")
    message(STATUS "Release: ${folder}/${archive}")
endforeach()
file(WRITE ${folder}/SHA256SUMS "${sums}")
