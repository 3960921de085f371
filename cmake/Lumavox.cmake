# Shared compiler settings and helpers for the Lumavox targets.

add_library(lumavox_warnings INTERFACE)
target_compile_options(lumavox_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wimplicit-fallthrough)
if(LUMAVOX_WERROR)
    target_compile_options(lumavox_warnings INTERFACE -Werror)
endif()

if(LUMAVOX_SANITIZER STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(LUMAVOX_SANITIZER STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(LUMAVOX_SANITIZER)
    message(FATAL_ERROR "Unknown LUMAVOX_SANITIZER '${LUMAVOX_SANITIZER}'")
endif()
if(LUMAVOX_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

# lumavox_library(<name> SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static core library whose include root is src/ (headers are included as "model/Step.h").
function(lumavox_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} Threads::Threads
                          PRIVATE lumavox_warnings ${ARG_PRIVATE_DEPS})
endfunction()

# lumavox_test(<name> SOURCES ... DEPS ... [LABELS ...] [TIMEOUT s])
# One GoogleTest executable registered as one CTest test. Label "realtime" marks tests of real-time
# behaviour: they run once, in the release build, never under the sanitizers.
function(lumavox_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main
                          lumavox_warnings)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 600)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}"
                         ENVIRONMENT "LUMAVOX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
    if("realtime" IN_LIST ARG_LABELS)
        # timing tests run alone, so that other tests running beside them cannot make them late
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()

# lumavox_fuzz_target(<name> SOURCES ... DEPS ...)
# With LUMAVOX_FUZZ the target is a libFuzzer binary; otherwise it is built with a small driver that
# runs every file of fuzz/<name>/corpus once, registered as a test so the corpus is replayed in
# every build, the sanitizer builds included.
function(lumavox_fuzz_target name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    set(target fuzz_${name})
    if(LUMAVOX_FUZZ)
        add_executable(${target} ${ARG_SOURCES})
        target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
        if(LUMAVOX_TESTS)
            add_test(NAME fuzz_replay_${name}
                     COMMAND ${target} ${PROJECT_SOURCE_DIR}/fuzz/${name}/corpus)
            set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT 600 LABELS "fuzz")
        endif()
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} lumavox_warnings)
endfunction()

# lumavox_gui_test(<name> SOURCES ... DEPS ...)
# A QTest executable for a widget, run on Qt's offscreen platform; label "gui" keeps it out of the
# ThreadSanitizer run. Only defined in builds with the editor (LUMAVOX_UI).
function(lumavox_gui_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test Qt6::Widgets lumavox_warnings)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "gui;${ARG_LABELS}"
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=ja_JP.UTF-8;LC_ALL=;LC_MESSAGES=;LUMAVOX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
