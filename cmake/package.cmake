# The release archives (CPack, run by scripts/package): everything an integrator needs in one
# archive per architecture, the module's debug information in a second one beside it.
# Needs the LLVM tools for the Microsoft-format import library; without them there is no package.
find_program(NV_CLANG clang)
find_program(NV_LLD_LINK lld-link)
if(NOT NV_CLANG OR NOT NV_LLD_LINK)
    message(STATUS "No clang or lld-link: no release package (scripts/package installs them)")
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(nv_package_arch win32)
    set(nv_msvc_target i686-pc-windows-msvc)
    set(nv_msvc_machine x86)
else()
    set(nv_package_arch win64)
    set(nv_msvc_target x86_64-pc-windows-msvc)
    set(nv_msvc_machine x64)
endif()

# One import library serves both toolchains: GNU ld reads this format too. Each entry binds the
# symbol a caller's compiler makes (_Name@N for stdcall) to the exported name, undecorated or
# _Name@N itself, which the import library ld writes for the module does not. The stand-in DLL
# that lld-link writes alongside is not used.
set(nv_import ${CMAKE_BINARY_DIR}/import)
add_custom_command(OUTPUT ${nv_import}/nvinfo.lib
    COMMAND ${CMAKE_COMMAND} -E make_directory ${nv_import}/stand-in
    COMMAND ${NV_CLANG} --target=${nv_msvc_target} -c ${nv_import}/stubs.c -o ${nv_import}/stubs.obj
    COMMAND ${NV_LLD_LINK} /nologo /dll /noentry /nodefaultlib /machine:${nv_msvc_machine}
            /def:${nv_import}/nvinfo.def /out:${nv_import}/stand-in/nvinfo.dll
            /implib:${nv_import}/nvinfo.lib ${nv_import}/stubs.obj
    DEPENDS ${nv_import}/nvinfo.def ${nv_import}/stubs.c
    COMMENT "Import library for callers: nvinfo.lib"
    VERBATIM)
add_custom_target(nvinfo_import_library ALL DEPENDS ${nv_import}/nvinfo.lib)

# The module is stripped already and keeps its debug link; the tools are stripped as installed.
install(PROGRAMS $<TARGET_FILE:nvinfo> DESTINATION bin COMPONENT main)
install(TARGETS nvhost RUNTIME DESTINATION bin COMPONENT main)
install(FILES include/nvinfo.h DESTINATION include COMPONENT main)
install(FILES ${nv_import}/nvinfo.lib ${nv_import}/nvinfo.def DESTINATION lib COMPONENT main)
install(FILES ${nv_import}/nvinfo.lib DESTINATION lib RENAME libnvinfo.dll.a COMPONENT main)
install(FILES doc/INTEGRATION.md DESTINATION doc COMPONENT main)
if(EXISTS ${CMAKE_SOURCE_DIR}/LICENSE)
    install(FILES LICENSE DESTINATION . COMPONENT main)
endif()
# Unpacked over the main archive, the debug file lands beside the module, where debuggers look.
install(FILES $<TARGET_FILE:nvinfo>.debug DESTINATION bin COMPONENT symbols)

# Tools that are defined further down (or later) join the package once their targets exist.
function(nv_package_tools)
    if(TARGET nvsign)
        install(TARGETS nvsign RUNTIME DESTINATION bin COMPONENT main)
    endif()
endfunction()
cmake_language(DEFER CALL nv_package_tools)

set(CPACK_PACKAGE_NAME nvinfo)
set(CPACK_PACKAGE_VENDOR Norvane)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL main symbols)
set(CPACK_ARCHIVE_MAIN_FILE_NAME nvinfo-${PROJECT_VERSION}-${nv_package_arch})
set(CPACK_ARCHIVE_SYMBOLS_FILE_NAME nvinfo-${PROJECT_VERSION}-${nv_package_arch}-symbols)
include(CPack)
