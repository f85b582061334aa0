# A module is one folder of src/ (with its sub-folders, where the backends of a
# platform area live) built as a static library.
#   trovix_module(trovix_foundation DEPS Qt6::Core trovix_platform_defaults)
function(trovix_module name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    trovix_apply_warnings(${name})
endfunction()

# The *_test.cpp files of the calling folder link into one QtTest program,
# <folder>_tests, so that the folder's libraries are linked once; each file
# stays a test of its own, <folder>/<file>, which runs that file's test class
# in a process of its own (see tests/support/TestProgram.h), labelled "unit"
# and headless on the offscreen platform. A file named in STANDALONE keeps a
# program of its own, <folder>_<file>, with its own main(): one the desktop
# tests run as well.
#   trovix_unit_tests(LIBS trovix_foundation [STANDALONE duplicate_hot_keys_test])
function(trovix_unit_tests)
    cmake_parse_arguments(ARG "" "" "LIBS;STANDALONE" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(program ${folder}_tests)
    add_executable(${program})
    target_link_libraries(${program} PRIVATE ${ARG_LIBS} trovix_testsupport trovix_testmain
                          Qt6::Test)
    trovix_apply_warnings(${program})
    foreach(test_source ${tests})
        get_filename_component(base ${test_source} NAME_WE)
        if(base IN_LIST ARG_STANDALONE)
            set(target ${folder}_${base})
            add_executable(${target} ${test_source})
            target_link_libraries(${target} PRIVATE ${ARG_LIBS} trovix_testsupport Qt6::Test)
            trovix_apply_warnings(${target})
            set(command ${target})
        else()
            target_sources(${program} PRIVATE ${test_source})
            set(command ${program} ${base})
        endif()
        add_test(NAME ${folder}/${base} COMMAND ${command})
        set_tests_properties(${folder}/${base} PROPERTIES LABELS unit
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TROVIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TROVIX_BUNDLE=${TROVIX_BUNDLE_DIR}")
    endforeach()
endfunction()

# An integration test is a script run inside a private virtual desktop.
#   trovix_integration_test(NAME tray_icon SCRIPT tray_icon_test.sh)
function(trovix_integration_test)
    cmake_parse_arguments(ARG "" "NAME;SCRIPT;TIMEOUT" "" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 180)
    endif()
    add_test(NAME integration/${ARG_NAME}
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/virtual-desktop run --
                     ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SCRIPT})
    set_tests_properties(integration/${ARG_NAME} PROPERTIES LABELS integration
        TIMEOUT ${ARG_TIMEOUT} RUN_SERIAL TRUE
        ENVIRONMENT "TROVIX_BUILD_DIR=${CMAKE_BINARY_DIR};TROVIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TROVIX=${TROVIX_BUNDLE_CONTENTS}/MacOS/trovix;TROVIX_ARTIFACTS=${CMAKE_BINARY_DIR}/test-artifacts")
endfunction()
