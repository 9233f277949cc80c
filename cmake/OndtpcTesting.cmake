# ondtpc_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>]
#                 [TIMEOUT <seconds>] [SERIAL])
# Builds one QtTest program and registers it with CTest. Every test runs headless;
# SERIAL marks tests that use fixed ports or machine-wide resources.
function(ondtpc_add_test name)
    cmake_parse_arguments(ARG "SERIAL" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set(_tsan_supp "${PROJECT_SOURCE_DIR}/cmake/tsan.supp")
    set(_env "QT_QPA_PLATFORM=offscreen"
             "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
             "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp:print_suppressions=0"
             "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
             # The tests fork helpers (lpadmin, probes) while their own threads run.
             "TSAN_OPTIONS=die_after_fork=0:second_deadlock_stack=1:suppressions=${_tsan_supp}")
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${_env}"
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${ARG_LABELS}")
    if(ARG_SERIAL)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
