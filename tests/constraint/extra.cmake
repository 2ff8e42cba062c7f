# Fixture modules whose version resources the constraint tests read. Built
# without the runtime library so that each holds only what its .rc gives.
set(NV_VERSION_FIXTURE_DIR ${CMAKE_SOURCE_DIR}/tests/constraint/fixtures)
nv_resource_module(verfix_product_differs test_constraint ${NV_VERSION_FIXTURE_DIR}/product_differs.rc)
nv_resource_module(verfix_all_parts test_constraint ${NV_VERSION_FIXTURE_DIR}/all_parts.rc)
nv_resource_module(verfix_unversioned test_constraint)

# Seed documents of the generated-input test, next to the test program.
file(GLOB NV_CONSTRAINT_CORPUS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/constraint_corpus/*.xml)
file(COPY ${NV_CONSTRAINT_CORPUS} DESTINATION ${CMAKE_BINARY_DIR}/bin/constraint_corpus)
