# tests of planets
kav_test(test_planets SOURCES test_planets.cpp LIBS kav_ephemeris)
# Compiles ephemeris/planets.cpp into the test itself to reach its file-local
# routines; it does not link kav_ephemeris.
kav_test(test_planets_internal SOURCES test_planets_internal.cpp)
