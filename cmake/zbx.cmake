# Helpers shared by every folder's CMakeLists.

# zbx_library(NAME [QT] SOURCES ... [LIBS ...]): a static library of our own code with warnings
# on. QT turns on moc and rcc for it (only Qt shells need them).
function(zbx_library name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    endif()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${ZBX_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# zbx_test(NAME [QT] SOURCES ... [LIBS ...]): a GoogleTest executable registered with CTest.
# Tests run with QT_QPA_PLATFORM=offscreen. QT tests get a main() that creates the QApplication
# (tests/qt_test_main.cpp) and link Qt Widgets and QTest.
function(zbx_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_QT)
        add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/qt_test_main.cpp)
        set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
        target_link_libraries(${name} PRIVATE Qt6::Widgets Qt6::Test GTest::gtest)
    else()
        add_executable(${name} ${ARG_SOURCES})
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE ${ZBX_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE ZBX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# zbx_fuzzer(NAME SOURCE file CORPUS dir [LIBS ...]): the SOURCE defines LLVMFuzzerTestOneInput.
# Every build gets a replay test that feeds each file of CORPUS to it, so CI checks the corpus;
# with ZBX_FUZZ a real libFuzzer binary NAME_fuzz is built as well.
function(zbx_fuzzer name)
    cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "LIBS" ${ARGN})
    add_executable(${name}_replay ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/tests/fuzz_replay_main.cpp)
    target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
    if(ZBX_FUZZ)
        add_executable(${name}_fuzz ${ARG_SOURCE})
        target_include_directories(${name}_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
        target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
        target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${name}_fuzz PRIVATE ${ARG_LIBS})
    endif()
endfunction()

# zbx_bench(NAME [QT] SOURCES ... [LIBS ...]): a Google Benchmark executable (not a test),
# named bench_* so bench.sh finds it.
function(zbx_bench name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
    target_compile_options(${name} PRIVATE ${ZBX_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

# zbx_subdirectories(a b c): adds each listed folder that exists, so a folder can be
# developed on its own before the others are there.
# ZBX_SKIP lists top-level areas to leave out (for example -DZBX_SKIP=glyphcast), so one area
# can be built while another is being reworked.
macro(zbx_subdirectories)
    foreach(dir ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt AND NOT dir IN_LIST ZBX_SKIP)
            add_subdirectory(${dir})
        endif()
    endforeach()
endmacro()
