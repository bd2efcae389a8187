# tests of calendar
kav_test(test_calendar SOURCES test_calendar.cpp LIBS kav_calendar)
