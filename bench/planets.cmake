# benchmarks of planets
