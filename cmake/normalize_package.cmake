# Run by CPack once the zip is written: every entry gets the source's timestamp, so that two
# builds of one commit give the same bytes, and nitscope-<version>-win64.zip.sha256 is written
# beside the zip in the form `sha256sum -c` reads.

# The source's timestamp, in seconds since 1970 (UTC):
# - SOURCE_DATE_EPOCH when it is set, as the reproducible-builds convention asks;
# - else the time of the commit that was built, when the source tree is a git work tree of its
#   own (not merely a folder inside some other repository);
# - else 315576060, 1980-01-01 12:01:00 UTC, for a source tarball without git: zip entries hold
#   local time from 1980 on, and this is the earliest one that every time zone can show
#   (strip-nondeterminism moves earlier times up to it).
set(epoch 315576060)
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
        message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: '$ENV{SOURCE_DATE_EPOCH}'")
    endif()
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
elseif(CPACK_NITSCOPE_GIT)
    execute_process(COMMAND "${CPACK_NITSCOPE_GIT}" rev-parse --show-toplevel
                    WORKING_DIRECTORY "${CPACK_NITSCOPE_SOURCE_DIR}"
                    OUTPUT_VARIABLE top RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    file(REAL_PATH "${CPACK_NITSCOPE_SOURCE_DIR}" source_dir)
    if(status EQUAL 0)
        file(REAL_PATH "${top}" top)
    endif()
    if(status EQUAL 0 AND top STREQUAL source_dir)
        execute_process(COMMAND "${CPACK_NITSCOPE_GIT}" log -1 --format=%ct
                        WORKING_DIRECTORY "${CPACK_NITSCOPE_SOURCE_DIR}"
                        OUTPUT_VARIABLE commit_time RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE
                        ERROR_QUIET)
        if(status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
            set(epoch ${commit_time})
        endif()
    endif()
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(CPACK_NITSCOPE_STRIP_NONDETERMINISM)
        execute_process(COMMAND "${CPACK_NITSCOPE_STRIP_NONDETERMINISM}" --type zip --timestamp ${epoch} "${package}"
                        RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "strip-nondeterminism failed on ${package}")
        endif()
    else()
        message(WARNING "No strip-nondeterminism: ${package} keeps the times of the files it was made from.")
    endif()
    file(SHA256 "${package}" digest)
    get_filename_component(package_name "${package}" NAME)
    # CPack copies the zip into CPACK_PACKAGE_DIRECTORY after this script; the digest goes there.
    file(WRITE "${CPACK_PACKAGE_DIRECTORY}/${package_name}.sha256" "${digest}  ${package_name}\n")
    message(STATUS "${package_name}: SHA-256 ${digest}, entry times ${epoch}")
endforeach()
