# CPack's External generator: the staged files become the release archive. CPack itself
# keeps only its description of the staging (a .json) in its package folder.
file(MAKE_DIRECTORY ${CPACK_RELEASE_FOLDER})
execute_process(COMMAND ${CPACK_RELEASE_PYTHON} ${CPACK_RELEASE_SOURCE}/scripts/release_archive.py
                        ${CPACK_TEMPORARY_DIRECTORY}
                        ${CPACK_RELEASE_FOLDER}/${CPACK_PACKAGE_FILE_NAME}${CPACK_RELEASE_SUFFIX}
                COMMAND_ERROR_IS_FATAL ANY)
