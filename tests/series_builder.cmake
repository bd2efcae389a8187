# SERIES85 from the ELP 2000-82B files: fixture files for each building rule,
# the built file against the shared one, make_series85 run as a process.
kav_test(test_series_builder
  SOURCES test_series_builder.cpp
  LIBS kav_series_builder)
target_compile_definitions(test_series_builder PRIVATE
  KAV_SHARED_SERIES85="${PROJECT_SOURCE_DIR}/../shared/data/SERIES85"
  KAV_ELP82B_DIR="${PROJECT_SOURCE_DIR}/ephemeris/elp82b"
  KAV_MAKE_SERIES85="$<TARGET_FILE:make_series85>")
add_dependencies(test_series_builder series85 make_series85)
