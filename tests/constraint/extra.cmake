# Version fixture modules the product constraints read; the seed documents of the generated inputs.
add_dependencies(test_constraint verfix_product_differs verfix_all_parts verfix_unversioned)
file(COPY ${CMAKE_SOURCE_DIR}/fuzz/constraint_corpus DESTINATION ${CMAKE_BINARY_DIR}/bin)
