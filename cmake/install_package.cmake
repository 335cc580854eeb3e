# `cmake --install` lays out one folder: nitscope.exe, README.md and LICENSE side by side.
# CPack zips that folder as nitscope-<version>-win64.zip, then normalize_package.cmake gives every
# entry the source's timestamp and writes the zip's SHA-256 digest beside it.

install(TARGETS nitscope RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE DESTINATION .)

# Debian's strip-nondeterminism, from the reproducible-builds project, rewrites the entry times
# that the zip writer takes from the files (in the DOS fields and in an extra field).
find_program(NITSCOPE_STRIP_NONDETERMINISM strip-nondeterminism)
if(NOT NITSCOPE_STRIP_NONDETERMINISM AND NOT CMAKE_HOST_WIN32)
    message(FATAL_ERROR "strip-nondeterminism is needed for a reproducible zip "
                        "(tools/install-deps, or apt-get install strip-nondeterminism)")
endif()
find_package(Git QUIET)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME nitscope)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME nitscope-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/package)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/normalize_package.cmake)
# Read by normalize_package.cmake, which CPack runs in a process of its own.
set(CPACK_NITSCOPE_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_NITSCOPE_GIT "${GIT_EXECUTABLE}")
set(CPACK_NITSCOPE_STRIP_NONDETERMINISM "${NITSCOPE_STRIP_NONDETERMINISM}")
include(CPack)
