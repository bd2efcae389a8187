# Whole-program timing of the search (run by run-search-bench.sh).
add_executable(kavex_reference kavex_reference.cpp)
target_link_libraries(kavex_reference PRIVATE kav_search)
target_include_directories(kavex_reference PRIVATE ${PROJECT_SOURCE_DIR})

add_executable(sun_only_erfa sun_only_erfa.cpp)
target_link_libraries(sun_only_erfa PRIVATE kav_search ${ERFA_LIB})
target_include_directories(sun_only_erfa PRIVATE ${PROJECT_SOURCE_DIR} ${ERFA_INCLUDE})
