# tests of planets
