# The version query tests read modules with known product versions.
add_dependencies(test_profile dlfix_v1_5 dlfix_v2_1)
