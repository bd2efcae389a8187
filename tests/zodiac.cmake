# tests of zodiac
