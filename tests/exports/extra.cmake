# The caller's own MSXML documents (constraint nodes, news and update results read back)
# are made with the module's class and interface identifiers, and texts come back
# through the module's own code page conversion.
target_link_libraries(test_exports PRIVATE nvsupport)
# Fixture modules with version resources, read through the constraint exports.
add_dependencies(test_exports verfix_product_differs)
# Hostile NDC files and calls that need a fresh process are handed to the host tool.
add_dependencies(test_exports nvhost)
