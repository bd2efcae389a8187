# kavex and kav_scan against bad input and failing writes, run as processes
# from the build folder; the number reading and error reports they rely on.
kav_test(test_hardening
    SOURCES test_hardening.cpp test_hardening_io.cpp
    LIBS kav_io util)
target_compile_definitions(test_hardening PRIVATE
    KAV_HOROSCOPES="${PROJECT_SOURCE_DIR}/bench/horoscopes")
add_dependencies(test_hardening kavex kav_scan)
# The cases are written with designated initializers that leave the rest to
# the members' defaults.
target_compile_options(test_hardening PRIVATE -Wno-missing-field-initializers)
