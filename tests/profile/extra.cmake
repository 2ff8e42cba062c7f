# The version query tests read the download tests' fixture modules.
add_dependencies(test_profile dlfix_v1_5 dlfix_v2_1)
