# Reads src/frame/exports.table and writes the module definition file the linker takes.
# Rows are checked here so that a mistyped row stops the configure step instead of shipping
# a module whose ordinals or decorations are off.

# nv_export_table(TABLE DEF_FILE [CALLER_DEF file CALLER_STUBS file]) writes DEF_FILE and sets,
# in the caller's scope, NV_EXPORT_FIRST and NV_EXPORT_LAST to "ordinal name" of the first and the
# last row.
# CALLER_DEF is the definition file a caller's toolchain reads: each export by its exported name
# and ordinal. CALLER_STUBS is a C file with one empty function per export under the symbol a
# caller links against (32-bit: _name for cdecl, _name@bytes for stdcall, decorated names as they
# are). Linked together into a stand-in DLL, lld-link matches each name to its stub the way the
# Microsoft linker does and writes an import library whose entries bind the caller's symbol to the
# exported name, with the ordinal as hint.
function(nv_export_table table def_file)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "CALLER_DEF;CALLER_STUBS" "")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
    file(STRINGS ${table} rows REGEX "^[^#]")
    set(def "LIBRARY \"nvinfo.dll\"\nEXPORTS\n")
    set(caller_def "${def}")
    set(stubs "")
    set(expected 1)
    foreach(row IN LISTS rows)
        if(NOT row MATCHES "^([0-9]+) ([^ ]+) ([A-Za-z_][A-Za-z0-9_]*) (cdecl|stdcall) ([0-9]+)$")
            message(FATAL_ERROR "${table}: malformed row '${row}'")
        endif()
        set(ordinal ${CMAKE_MATCH_1})
        set(name ${CMAKE_MATCH_2})
        set(function ${CMAKE_MATCH_3})
        set(call ${CMAKE_MATCH_4})
        set(bytes ${CMAKE_MATCH_5})
        if(NOT ordinal EQUAL expected)
            message(FATAL_ERROR "${table}: ordinal ${ordinal} where ${expected} comes next")
        endif()
        if(call STREQUAL "cdecl" AND NOT bytes EQUAL 0)
            message(FATAL_ERROR "${table}: cdecl ${name} with ${bytes} bytes of stack")
        endif()
        # Only 32-bit stdcall symbols carry their argument size.
        set(decoration "")
        if(call STREQUAL "stdcall" AND CMAKE_SIZEOF_VOID_P EQUAL 4)
            set(decoration "@${bytes}")
        endif()
        string(APPEND function "${decoration}")
        # 32-bit C symbols begin with an underscore; names that are decorated already stay.
        set(symbol ${name})
        if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT name MATCHES "[?@]")
            set(symbol _${name}${decoration})
        endif()
        string(APPEND def "    ${name} = ${function} @${ordinal}\n")
        string(APPEND caller_def "    ${name} @${ordinal}\n")
        string(APPEND stubs "void nv_stub${ordinal}(void) __asm__(\"${symbol}\");\n"
                            "void nv_stub${ordinal}(void) {}\n")
        if(expected EQUAL 1)
            set(NV_EXPORT_FIRST "${ordinal} ${name}" PARENT_SCOPE)
        endif()
        set(NV_EXPORT_LAST "${ordinal} ${name}" PARENT_SCOPE)
        math(EXPR expected "${expected} + 1")
    endforeach()
    if(expected EQUAL 1)
        message(FATAL_ERROR "${table}: no exports")
    endif()
    file(GENERATE OUTPUT ${def_file} CONTENT "${def}")
    if(arg_CALLER_DEF)
        file(GENERATE OUTPUT ${arg_CALLER_DEF} CONTENT "${caller_def}")
        file(GENERATE OUTPUT ${arg_CALLER_STUBS} CONTENT "${stubs}")
    endif()
endfunction()
