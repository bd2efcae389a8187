# tests of lune
kav_test(test_lune
  SOURCES test_lune_loader.cpp test_lune_eval.cpp test_lune_real.cpp
  LIBS kav_ephemeris)
