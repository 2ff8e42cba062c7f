# The caller's own MSXML documents (constraint nodes, news and update results read back)
# are made with the module's class and interface identifiers, and texts come back
# through the module's own code page conversion.
target_link_libraries(test_exports PRIVATE nvsupport)
# Fixture modules with version resources, read through the constraint exports.
add_dependencies(test_exports verfix_product_differs)
# Hostile NDC files and calls that need a fresh process are handed to the host tool.
add_dependencies(test_exports nvhost)
# The stand-in application built for 64 bits, for the 32-bit module to close.
find_program(NV_X86_64_CXX x86_64-w64-mingw32-g++-posix REQUIRED)
set(nvtarget64 ${CMAKE_BINARY_DIR}/bin/nvtarget64.exe)
add_custom_command(OUTPUT ${nvtarget64}
    COMMAND ${NV_X86_64_CXX} -std=c++17 -O2 -DNOMINMAX -D_WIN32_WINNT=0x0601 -static
            ${CMAKE_SOURCE_DIR}/tests/programs/nvtarget.cpp -o ${nvtarget64} -luser32
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/programs/nvtarget.cpp
            ${CMAKE_SOURCE_DIR}/tests/harness/target_process.h
    VERBATIM)
add_custom_target(nvtarget64 DEPENDS ${nvtarget64})
add_dependencies(test_exports nvtarget64)
