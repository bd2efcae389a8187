# tests of search
