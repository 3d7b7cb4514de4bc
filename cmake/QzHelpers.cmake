# Project helpers: one short call per library, program, test and benchmark.

# qz_add_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A library defined under src/core is a core library: qz_check_core_layer() refuses any that
# reaches Qt's Gui, Widgets or PrintSupport through its links.
function(qz_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    qz_warnings(${name})
    string(FIND "${CMAKE_CURRENT_SOURCE_DIR}/" "${PROJECT_SOURCE_DIR}/src/core/" core_at)
    if(core_at EQUAL 0)
        set_property(GLOBAL APPEND PROPERTY QZ_CORE_TARGETS ${name})
    endif()
endfunction()

# qz_add_program(NAME SOURCES ... LIBS ...)
function(qz_add_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
    qz_warnings(${name})
endfunction()

# qz_add_test(NAME SOURCES ... LIBS ... [GUI | OWN_MAIN] [ENV ...] [LABELS ...]
#             [DEPENDS ...] [TIMEOUT s])
# A GoogleTest program registered with CTest as one test, on the offscreen platform unless ENV
# says otherwise. GUI: the widget tests' main (a QApplication that fails the test on an
# unexpected Qt warning) and QtTest. OWN_MAIN: the sources bring their own main. DEPENDS:
# targets the test runs (programs, helpers) built first.
function(qz_add_test name)
    cmake_parse_arguments(ARG "GUI;OWN_MAIN" "TIMEOUT" "SOURCES;LIBS;ENV;LABELS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
    if(ARG_GUI)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/guimain.cpp)
        target_link_libraries(${name} PRIVATE qz_guitestsupport Qt6::Test)
    elseif(NOT ARG_OWN_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    qz_warnings(${name})
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QZ_BIN_DIR=${PROJECT_BINARY_DIR}/bin;${ARG_ENV}"
        TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()

# qz_add_server_run(TEST [FILTER gtest-filter]): runs the test program TEST of qz_add_test a
# second time, as TEST_pg, with its databases on the run's throw-away PostgreSQL cluster
# (tests/pg/cluster.sh, set up by the CTest fixture "pg"). Where the cluster could not start,
# the program's tests report themselves skipped and so does CTest.
function(qz_add_server_run name)
    cmake_parse_arguments(ARG "" "FILTER" "" ${ARGN})
    set(args)
    if(ARG_FILTER)
        set(args "--gtest_filter=${ARG_FILTER}")
    endif()
    add_test(NAME ${name}_pg COMMAND ${name} ${args})
    get_test_property(${name} ENVIRONMENT env)
    get_test_property(${name} TIMEOUT timeout)
    get_test_property(${name} LABELS labels)
    set_tests_properties(${name}_pg PROPERTIES
        ENVIRONMENT "${env};QZ_TEST_ENGINE=pg;QZ_PG_CLUSTER=${QZ_PG_STATE}"
        TIMEOUT ${timeout} LABELS "${labels};pg" FIXTURES_REQUIRED pg
        SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()

# qz_add_helper(NAME SOURCES ... LIBS ...): a small program that tests start, in build/tests.
function(qz_add_helper name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    qz_warnings(${name})
endfunction()

# qz_add_benchmark(NAME SOURCES ... LIBS ... [DEPENDS ...]): a Google Benchmark program (or a
# plain one without benchmark::benchmark in LIBS), in build/bin.
function(qz_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
    qz_warnings(${name})
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
endfunction()

function(qz_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(QZ_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# Collects into out_var every target that target links, directly or through others.
function(qz_link_closure target out_var)
    set(seen "")
    set(todo ${target})
    while(todo)
        list(POP_FRONT todo current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(aliased ${current} ALIASED_TARGET)
        if(aliased)
            list(APPEND todo ${aliased})
        endif()
        get_target_property(type ${current} TYPE)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(links ${current} LINK_LIBRARIES)
            if(links)
                list(APPEND todo ${links})
            endif()
        endif()
        get_target_property(ilinks ${current} INTERFACE_LINK_LIBRARIES)
        if(ilinks)
            list(APPEND todo ${ilinks})
        endif()
    endwhile()
    set(${out_var} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a core library reaches a window or paint library.
function(qz_check_core_layer)
    get_property(core_targets GLOBAL PROPERTY QZ_CORE_TARGETS)
    foreach(target ${core_targets})
        qz_link_closure(${target} closure)
        foreach(forbidden Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
            if(forbidden IN_LIST closure)
                message(FATAL_ERROR "core library ${target} links ${forbidden}: core is QtCore only")
            endif()
        endforeach()
    endforeach()
endfunction()
