# The module's version is written in its version resource and nowhere else: this reads it from
# there for the project and the release package. The resource states it four times (two binary
# fields, two texts); a configure step that finds them apart stops, so no build ships a module
# whose version fields disagree.

# nv_module_version(RC_FILE VARIABLE) sets VARIABLE to "a.b.c.d" from RC_FILE's FILEVERSION.
function(nv_module_version rc_file variable)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc_file})
    file(READ ${rc_file} rc)
    set(number "([0-9]+)[ \t]*,[ \t]*([0-9]+)[ \t]*,[ \t]*([0-9]+)[ \t]*,[ \t]*([0-9]+)")
    if(NOT rc MATCHES "\nFILEVERSION[ \t]+${number}")
        message(FATAL_ERROR "${rc_file}: no FILEVERSION")
    endif()
    set(version "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")
    if(NOT rc MATCHES "\nPRODUCTVERSION[ \t]+${number}")
        message(FATAL_ERROR "${rc_file}: no PRODUCTVERSION")
    endif()
    set(others "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")
    foreach(text FileVersion ProductVersion)
        if(NOT rc MATCHES "VALUE[ \t]+\"${text}\"[ \t]*,[ \t]*\"([^\"]*)\"")
            message(FATAL_ERROR "${rc_file}: no ${text} text")
        endif()
        list(APPEND others ${CMAKE_MATCH_1})
    endforeach()
    foreach(other IN LISTS others)
        if(NOT other STREQUAL version)
            message(FATAL_ERROR "${rc_file}: FILEVERSION ${version} but also ${other}")
        endif()
    endforeach()
    set(${variable} ${version} PARENT_SCOPE)
endfunction()
