# lanzhou_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest executable; every TEST in it becomes its own CTest case.
function(lanzhou_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} lanzhou_test_support GTest::gtest GTest::gtest_main
                        lanzhou_warnings)
  target_compile_definitions(${name} PRIVATE
    LANZHOU_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    LANZHOU_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
