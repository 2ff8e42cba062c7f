# Modules with known product versions for the installation condition tests.
add_dependencies(test_download dlfix_v1_5 dlfix_v2_1 dlfix_v10_build)
