# benchmarks of planets
kav_bench(bench_planets SOURCES bench_planets.cpp LIBS kav_ephemeris)
