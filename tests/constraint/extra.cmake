# Fixture modules whose version resources the constraint tests read. Built
# without the runtime library so that each holds only what its .rc gives.
set(NV_VERSION_FIXTURE_DIR ${CMAKE_SOURCE_DIR}/tests/constraint/fixtures)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(NV_FIXTURE_ENTRY _DllMainCRTStartup@12)
else()
    set(NV_FIXTURE_ENTRY DllMainCRTStartup)
endif()
function(nv_version_fixture name kind)
    add_library(${name} ${kind} ${NV_VERSION_FIXTURE_DIR}/fixture_main.c ${ARGN})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
    target_link_options(${name} PRIVATE -nostdlib -Wl,-e,${NV_FIXTURE_ENTRY})
    add_dependencies(test_constraint ${name})
endfunction()
nv_version_fixture(verfix_product_differs SHARED ${NV_VERSION_FIXTURE_DIR}/product_differs.rc)
nv_version_fixture(verfix_all_parts SHARED ${NV_VERSION_FIXTURE_DIR}/all_parts.rc)
nv_version_fixture(verfix_unversioned SHARED)

# Seed documents of the generated-input test, next to the test program.
file(GLOB NV_CONSTRAINT_CORPUS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/constraint_corpus/*.xml)
file(COPY ${NV_CONSTRAINT_CORPUS} DESTINATION ${CMAKE_BINARY_DIR}/bin/constraint_corpus)
