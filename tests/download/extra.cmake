# Modules with known product versions for the installation condition tests,
# built like the constraint fixtures: resources only, no runtime library.
function(nv_download_fixture name version)
    nv_resource_module(${name} test_download
        ${CMAKE_SOURCE_DIR}/tests/download/fixtures/product_version.rc)
    target_compile_definitions(${name} PRIVATE NV_PRODUCT_VERSION=${version})
endfunction()
nv_download_fixture(dlfix_v1_5 "1,5,0,0")
nv_download_fixture(dlfix_v2_1 "2,1,0,0")
nv_download_fixture(dlfix_v10_build "10,0,19041,1")
