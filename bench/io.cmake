# benchmarks of io
