# Run after linking a module: in optimised configurations its symbols and debug information move
# to MODULE.debug beside it and the module keeps only a link to that file, by name and checksum.
#   cmake -DCONFIG=<config> -DOBJCOPY=<objcopy> -DMODULE=<path> -P split_debug_info.cmake
if(NOT CONFIG MATCHES "^(Release|RelWithDebInfo)$")
    return()
endif()
get_filename_component(folder ${MODULE} DIRECTORY)
get_filename_component(name ${MODULE} NAME)

function(run_objcopy)
    # The debug link stores the file name only, so objcopy runs beside the module.
    execute_process(COMMAND ${OBJCOPY} ${ARGN} WORKING_DIRECTORY ${folder} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "objcopy ${ARGN}: failed (${failed})")
    endif()
endfunction()

file(REMOVE ${folder}/${name}.debug)
run_objcopy(--only-keep-debug ${name} ${name}.debug)
run_objcopy(--strip-debug --strip-unneeded --add-gnu-debuglink=${name}.debug ${name})
