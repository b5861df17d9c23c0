# Shared build settings for every Wordlumen target.

# Our own code builds with warnings as errors; third-party headers (Qt,
# QtKeychain, Google Benchmark) come in as system includes and are not held to it.
function(wordlumen_target_settings target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    elseif(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII
        QT_NO_CAST_TO_ASCII
        QT_NO_URL_CAST_FROM_STRING
        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
        QT_DISABLE_DEPRECATED_UP_TO=0x060400)
endfunction()

# A Qt Test executable registered with ctest. Unit tests run on the offscreen
# platform so the suite needs no display.
function(wordlumen_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;LABELS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    wordlumen_target_settings(${name})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    target_compile_definitions(${name} PRIVATE
        WORDLUMEN_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
        WORDLUMEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set(labels ${ARG_LABELS})
    if(NOT labels)
        set(labels unit)
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "${labels}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}")
endfunction()

# A Google Benchmark executable; built with the tests, run by scripts/bench.
function(wordlumen_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    wordlumen_target_settings(${name})
    target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBRARIES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# QML files of one module live in feature subfolders of its folder, but the
# module lays them out flat, as one directory: a file finds its siblings by
# type name, and the resource paths do not depend on the folders.
function(wordlumen_flat_qml_files)
    foreach(file IN LISTS ARGN)
        get_filename_component(name ${file} NAME)
        set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS ${name})
    endforeach()
endfunction()
