# Fixture modules whose version resources the constraint tests read, built without the runtime
# library so that each holds only what its .rc gives; the seed documents of the generated inputs.
nv_resource_module(verfix_product_differs test_constraint ${CMAKE_CURRENT_LIST_DIR}/fixtures/product_differs.rc)
nv_resource_module(verfix_all_parts test_constraint ${CMAKE_CURRENT_LIST_DIR}/fixtures/all_parts.rc)
nv_resource_module(verfix_unversioned test_constraint)
file(COPY ${CMAKE_SOURCE_DIR}/fuzz/constraint_corpus DESTINATION ${CMAKE_BINARY_DIR}/bin)
