# Datalog -> crossover points -> raw data map: speed against reading the same file and
# counting its newlines, one full-map reduction, and peak memory of one run.
tallimar_bench(pipeline_bench pipeline_bench.cpp pipeline_support.h)
target_link_libraries(pipeline_bench PRIVATE tallimar_testsupport)
tallimar_bench(pipeline_memory pipeline_memory.cpp pipeline_support.h)
target_link_libraries(pipeline_memory PRIVATE tallimar_testsupport)
