# nitscope.exe: x64, console subsystem, only Windows system DLLs at run time.

enable_language(RC)

# Compile and link settings every Windows program of the project shares.
function(nitscope_windows_program target)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${NITSCOPE_WARNINGS}>)
    if(MSVC)
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:/GR- /EHs-c->)
        # The manifest is our own resource; the linker must not add a second one.
        target_link_options(${target} PRIVATE /MANIFEST:NO)
        # No link time in the PE header: the same sources give the same bytes.
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:/Brepro>)
        target_link_options(${target} PRIVATE /Brepro)
        set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded")
    else()
        # The C99 printf of MinGW's static runtime: the same %g exponent digits as every other
        # build, with the stream I/O still going through msvcrt.dll.
        target_compile_definitions(${target} PRIVATE __USE_MINGW_ANSI_STDIO=1)
        target_compile_options(${target} PRIVATE
            $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -ffunction-sections -fdata-sections>)
        # No build folder in the output, whatever reaches it (__FILE__, debug information).
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:
            -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.>)
        # Static libgcc/libstdc++/winpthread: a fresh Windows has none of MinGW's DLLs. The PE
        # header's time stays 0 instead of the link time: the same sources give the same bytes.
        target_link_options(${target} PRIVATE -static -Wl,--gc-sections -Wl,--no-insert-timestamp
            -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va
            $<$<NOT:$<CONFIG:Debug>>:-s>)
    endif()
endfunction()

# The version resource takes every number from the project version, and its copyright line from
# the licence.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE NITSCOPE_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT NITSCOPE_COPYRIGHT)
    message(FATAL_ERROR "LICENSE has no line that starts with 'Copyright '")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
set(NITSCOPE_VERSION_RC ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
configure_file(${PROJECT_SOURCE_DIR}/res/version.rc.in ${NITSCOPE_VERSION_RC} @ONLY)

add_executable(nitscope
    ${NITSCOPE_SOURCES}
    ${PROJECT_SOURCE_DIR}/res/nitscope.rc
    ${NITSCOPE_VERSION_RC})
nitscope_windows_program(nitscope)
target_link_libraries(nitscope PRIVATE dxgi d3d11 dxguid user32)
# The resource compiler finds the manifest that nitscope.rc names in res/. CMake does not scan
# resource scripts for the files they embed, so the dependency is stated here.
target_include_directories(nitscope PRIVATE $<$<COMPILE_LANGUAGE:RC>:${PROJECT_SOURCE_DIR}/res>)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/nitscope.rc PROPERTIES
    OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/res/nitscope.manifest)

include(cmake/install_package.cmake)
