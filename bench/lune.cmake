# benchmarks of lune
kav_bench(bench_lune SOURCES bench_lune.cpp LIBS kav_ephemeris)
