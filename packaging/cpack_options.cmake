# Read by cpack before it stages the release. Strip (which dates a Windows program's
# header again) and the archive take the commit's time. The release goes into
# CPACK_RELEASE_FOLDER, which the package presets set to dist/, or else into the package
# folder, beside CPack's own files.
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_RELEASE_EPOCH})
if(NOT CPACK_RELEASE_FOLDER)
    set(CPACK_RELEASE_FOLDER ${CPACK_PACKAGE_DIRECTORY})
endif()
