# benchmarks of lune
