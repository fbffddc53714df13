# VE math: filtering the raw data map (against the literal basis recursion) and "Calculate Map".
tallimar_bench(vemath_bench vemath_bench.cpp)
