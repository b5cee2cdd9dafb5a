# ketrion_add_test(<name> SOURCES <files...> LIBS <targets...>)
# Every test runs headless, with a private settings location and TEST_DATA_DIR.
function(ketrion_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt5::Test)
    target_compile_definitions(${name} PRIVATE
        TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
        TEST_HELPERS_DIR="${PROJECT_SOURCE_DIR}/tests")
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name};HOME=${CMAKE_BINARY_DIR}/test-home/${name}"
        TIMEOUT 300)
endfunction()
