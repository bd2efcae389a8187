# tests of io

# A small program on io::run_program that ends in the way its argument names;
# the process tests run it and look at its status, output and files.
add_executable(io_probe io_probe.cpp)
target_link_libraries(io_probe PRIVATE kav_io)

kav_test(test_io
  SOURCES test_io_number_text.cpp test_io_list.cpp test_io_format.cpp
          test_io_units.cpp test_io_stops.cpp
  LIBS kav_io util)
target_compile_definitions(test_io PRIVATE KAV_IO_PROBE="$<TARGET_FILE:io_probe>")
add_dependencies(test_io io_probe)
