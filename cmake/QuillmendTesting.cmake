# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later

# quillmend_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable run through ctest, offscreen and in a UTF-8 locale,
# with the test-data folder passed in so no test depends on the working folder.
function(quillmend_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    quillmend_set_warnings(${name})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        QUILLMEND_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
        QUILLMEND_LANG_SOURCE_DIR="${PROJECT_SOURCE_DIR}/lang"
        QUILLMEND_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
    set_target_properties(${name} PROPERTIES
        AUTOMOC ON
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        TIMEOUT 300)
endfunction()
