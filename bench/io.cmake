# benchmarks of io
kav_bench(bench_io SOURCES bench_io.cpp LIBS kav_io)
