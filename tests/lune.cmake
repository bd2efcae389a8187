# tests of lune
