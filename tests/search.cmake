kav_test(test_search_input SOURCES test_search_input.cpp LIBS kav_search)
kav_test(test_search_report SOURCES test_search_report.cpp LIBS kav_search)
kav_test(test_search_motion SOURCES test_search_motion.cpp LIBS kav_search)
kav_test(test_search_equivalence SOURCES test_search_equivalence.cpp LIBS kav_search)
