# benchmarks of search
