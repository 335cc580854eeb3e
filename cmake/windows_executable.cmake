# nitscope.exe: x64, console subsystem, only Windows system DLLs at run time.

enable_language(RC)

set(NITSCOPE_VERSION_RC ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/res/version.rc.in ${NITSCOPE_VERSION_RC} @ONLY)

add_executable(nitscope
    ${NITSCOPE_SOURCES}
    ${CMAKE_CURRENT_SOURCE_DIR}/res/nitscope.rc
    ${NITSCOPE_VERSION_RC})
target_include_directories(nitscope PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(nitscope PRIVATE dxgi d3d11 dxguid user32)
target_compile_options(nitscope PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${NITSCOPE_WARNINGS}>)
set_target_properties(nitscope PROPERTIES
    # windres looks for the manifest next to the .rc file that names it.
    RC_INCLUDE_DIRECTORIES ${CMAKE_CURRENT_SOURCE_DIR}/res)

if(MSVC)
    target_compile_options(nitscope PRIVATE $<$<COMPILE_LANGUAGE:CXX>:/GR- /EHs-c->)
    # The manifest is our own resource; the linker must not add a second one.
    target_link_options(nitscope PRIVATE /MANIFEST:NO)
    set_property(TARGET nitscope PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded")
else()
    # The C99 printf of MinGW's static runtime: the same %g exponent digits as every other
    # build, with the stream I/O still going through msvcrt.dll.
    target_compile_definitions(nitscope PRIVATE __USE_MINGW_ANSI_STDIO=1)
    target_compile_options(nitscope PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -ffunction-sections -fdata-sections>)
    # Static libgcc/libstdc++/winpthread: a fresh Windows has none of MinGW's DLLs.
    target_link_options(nitscope PRIVATE -static
        -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va
        $<$<NOT:$<CONFIG:Debug>>:-s>)
endif()

include(cmake/install_package.cmake)
