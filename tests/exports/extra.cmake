# The caller's own MSXML documents (constraint nodes, news and update results read back)
# are made with the module's class and interface identifiers.
target_sources(test_exports PRIVATE ${CMAKE_SOURCE_DIR}/src/support/msxml_ids.cpp)
# Fixture modules with version resources, read through the constraint exports.
add_dependencies(test_exports verfix_product_differs)
