# kav_scan run as a process: tables against ERFA positions, menu, stops,
# error reports and a run on a pseudo-terminal (forkpty: libutil).
kav_test(test_scan_program
    SOURCES test_scan_table.cpp test_scan_dialogue.cpp
    LIBS util)
add_dependencies(test_scan_program kav_scan)
