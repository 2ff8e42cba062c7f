# Modules with known product versions for the installation condition tests.
add_dependencies(test_download dlfix_v1_5 dlfix_v2_1 dlfix_v10_build)
# The signing tool, which the signature tests run.
add_dependencies(test_download nvsign)
# A signature made with openssl on the build machine verifies.
add_test(NAME nvsign_openssl
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/download/nvsign_openssl.sh ${CMAKE_BINARY_DIR})
