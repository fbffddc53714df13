# Datalog -> crossover points -> raw data map: speed against reading the same file and
# counting its newlines, one full-map reduction, and peak memory of one run.
tallimar_bench(pipeline_bench pipeline_bench.cpp pipeline_support.h)
target_link_libraries(pipeline_bench PRIVATE tallimar_testsupport)
# Peak memory: a plain program measuring one run, with its own main().
add_executable(pipeline_memory pipeline_memory.cpp pipeline_support.h)
target_link_libraries(pipeline_memory PRIVATE tallimar_core tallimar_testsupport tallimar_warnings)
target_include_directories(pipeline_memory PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/bench)
