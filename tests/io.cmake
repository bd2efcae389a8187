# tests of io
