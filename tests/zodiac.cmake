# tests of zodiac
kav_test(test_zodiac
  SOURCES test_zodiac_scale.cpp test_zodiac_arcs.cpp test_zodiac_order.cpp
  LIBS kav_zodiac)
