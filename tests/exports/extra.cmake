# The tests read the module's XML results with MSXML; they share the module's
# interface identifiers instead of linking its core.
target_sources(test_exports PRIVATE ${CMAKE_SOURCE_DIR}/src/support/msxml_ids.cpp)
