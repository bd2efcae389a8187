# tests of scan
