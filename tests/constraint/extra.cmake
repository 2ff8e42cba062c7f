# Version fixture modules the product constraints read.
add_dependencies(test_constraint verfix_product_differs verfix_all_parts verfix_unversioned)
