# tests of calendar
