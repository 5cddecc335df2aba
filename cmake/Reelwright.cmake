# Helper functions shared by every folder's CMakeLists.txt.

# rw_add_program(NAME name [CONSOLE] [DEST dir] SOURCES ... [LIBS ...] [RESOURCES file.rc ...])
# Builds a Winelib program name.exe (launcher) + name.exe.so; GUI programs enter at wWinMain.
function(rw_add_program)
    cmake_parse_arguments(A "CONSOLE" "NAME;DEST" "SOURCES;LIBS;RESOURCES" ${ARGN})
    add_executable(${A_NAME} ${A_SOURCES})
    if(A_CONSOLE)
        target_link_options(${A_NAME} PRIVATE -mconsole)
    else()
        target_link_options(${A_NAME} PRIVATE -mwindows -municode)
    endif()
    if(A_LIBS)
        target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
    endif()
    if(A_DEST)
        set_target_properties(${A_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${A_DEST})
    endif()
    foreach(rc ${A_RESOURCES})
        rw_add_resource(${A_NAME} ${rc})
    endforeach()
endfunction()

# rw_add_resource(target file.rc): compiles a resource script with wrc and links it in.
function(rw_add_resource target rc)
    get_filename_component(abs ${rc} ABSOLUTE)
    get_filename_component(name ${rc} NAME_WE)
    set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.res)
    get_filename_component(rcdir ${abs} DIRECTORY)
    add_custom_command(OUTPUT ${res}
        COMMAND wrc --nostdinc -I${rcdir} -I${CMAKE_SOURCE_DIR} -I${CMAKE_BINARY_DIR}
                -I/usr/include/wine/wine/windows
                -DRC_INVOKED -o ${res} ${abs}
        DEPENDS ${abs}
        IMPLICIT_DEPENDS CXX ${abs}
        COMMENT "Compiling resources ${rc}")
    target_sources(${target} PRIVATE ${res})
    set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
endfunction()

# rw_add_dll(NAME name SPEC file.spec DEST dir SOURCES ... [LIBS ...])
# Builds name.dll.so into the program folder's x86_64-unix folder (on WINEDLLPATH through the
# program's launcher) and a fake PE module name.dll in DEST, so LoadLibrary of DEST\name.dll works.
function(rw_add_dll)
    cmake_parse_arguments(A "" "NAME;SPEC;DEST" "SOURCES;LIBS" ${ARGN})
    get_filename_component(spec ${A_SPEC} ABSOLUTE)
    add_library(${A_NAME} SHARED ${A_SOURCES})
    set_target_properties(${A_NAME} PROPERTIES
        PREFIX "" OUTPUT_NAME "${A_NAME}.dll" SUFFIX ".so"
        LIBRARY_OUTPUT_DIRECTORY ${RW_UNIX_DLL_DIR})
    target_link_options(${A_NAME} PRIVATE ${spec})
    set_property(TARGET ${A_NAME} APPEND PROPERTY LINK_DEPENDS ${spec})
    if(A_LIBS)
        target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
    endif()
    add_custom_command(TARGET ${A_NAME} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${A_DEST}
        COMMAND winebuild --dll --fake-module -E ${spec} -F ${A_NAME}.dll -o ${A_DEST}/${A_NAME}.dll
        VERBATIM)
endfunction()

# rw_add_test(NAME name SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s])
# A GoogleTest program in build/tests, run by ctest as ./name.exe inside the prefix the test
# script made (WINEPREFIX and DISPLAY come from tools/test.sh).
function(rw_add_test)
    cmake_parse_arguments(A "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS;RESOURCES" ${ARGN})
    add_executable(${A_NAME} ${A_SOURCES})
    target_link_options(${A_NAME} PRIVATE -mconsole)
    target_link_libraries(${A_NAME} PRIVATE rw_testsupport ${A_LIBS})
    set_target_properties(${A_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${RW_TEST_BIN_DIR})
    foreach(rc ${A_RESOURCES})
        rw_add_resource(${A_NAME} ${rc})
    endforeach()
    add_test(NAME ${A_NAME} COMMAND ${RW_TEST_BIN_DIR}/${A_NAME}.exe WORKING_DIRECTORY ${RW_TEST_BIN_DIR})
    if(NOT A_TIMEOUT)
        set(A_TIMEOUT 300)
    endif()
    set_tests_properties(${A_NAME} PROPERTIES TIMEOUT ${A_TIMEOUT}
        ENVIRONMENT "WINEDLLPATH=${RW_PROGRAM_DIR}")
    if(A_LABELS)
        set_tests_properties(${A_NAME} PROPERTIES LABELS "${A_LABELS}")
    endif()
endfunction()

# rw_glob_library(NAME name [RECURSE] [LIBS ...] [DEFS ...]): one static library of every .cpp/.c in
# the calling folder, and with RECURSE in its sub-folders too (files are picked up as they are added;
# re-run cmake after adding one).
function(rw_glob_library)
    cmake_parse_arguments(A "RECURSE" "NAME" "LIBS;DEFS" ${ARGN})
    if(A_RECURSE)
        set(how GLOB_RECURSE)
    else()
        set(how GLOB)
    endif()
    file(${how} srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    if(NOT srcs)
        set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
    endif()
    add_library(${A_NAME} STATIC ${srcs})
    target_include_directories(${A_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
    if(A_LIBS)
        target_link_libraries(${A_NAME} PUBLIC ${A_LIBS})
    endif()
    if(A_DEFS)
        target_compile_definitions(${A_NAME} PUBLIC ${A_DEFS})
    endif()
endfunction()

# rw_glob_tests([RECURSE] [LIBS ...]): one test program per *Test.cpp in the calling folder (with
# RECURSE, in its sub-folders too), named after it.
function(rw_glob_tests)
    cmake_parse_arguments(A "RECURSE" "TIMEOUT" "LIBS" ${ARGN})
    if(A_RECURSE)
        set(how GLOB_RECURSE)
    else()
        set(how GLOB)
    endif()
    file(${how} tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    foreach(t ${tests})
        get_filename_component(name ${t} NAME_WE)
        if(NOT TARGET ${name})
            rw_add_test(NAME ${name} SOURCES ${t} LIBS ${A_LIBS} TIMEOUT ${A_TIMEOUT})
        endif()
    endforeach()
endfunction()

# rw_add_shell_resources(target): links the program's resource script (resources/reelwright.rc:
# menus, accelerators, every panel and dialog template, the generated bitmaps and icon, the update
# dialogs and the skins) into a program or test, rebuilt whenever the pictures are redrawn.
set(RW_SHELLRES_DIR ${CMAKE_BINARY_DIR}/shellres CACHE INTERNAL "Generated program pictures")
function(rw_add_shell_resources target)
    rw_add_resource(${target} ${CMAKE_SOURCE_DIR}/resources/reelwright.rc)
    add_dependencies(${target} rw_shellres rw_skins)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}_reelwright.res APPEND
        DEPENDS ${RW_SHELLRES_DIR}/images.stamp ${CMAKE_BINARY_DIR}/skins/skins.stamp
                ${CMAKE_SOURCE_DIR}/resources/resource.h ${CMAKE_SOURCE_DIR}/resources/update.rc)
endfunction()

# rw_add_test_pictures(NAME target SOURCE generator.c DIR folder COMMENT text): a target that
# builds a C picture generator with the build machine's own compiler and libpng, and runs it to
# draw the test pictures into the folder.
function(rw_add_test_pictures)
    cmake_parse_arguments(A "" "NAME;SOURCE;DIR;COMMENT" "" ${ARGN})
    get_filename_component(source ${A_SOURCE} ABSOLUTE)
    get_filename_component(generator ${A_SOURCE} NAME_WE)
    set(stamp ${A_DIR}/pictures.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${A_DIR}
        COMMAND cc -O2 -std=gnu99 -I${PNG_INCLUDE_DIRS} -o ${A_DIR}/${generator} ${source} -l${PNG_LIBRARIES}
        COMMAND ${A_DIR}/${generator} ${A_DIR}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${source}
        COMMENT "${A_COMMENT}")
    add_custom_target(${A_NAME} DEPENDS ${stamp})
endfunction()

# rw_add_themed_test(suite): a suite whose results depend on the visual-style state runs twice: as
# it is in the classic test prefix, and again as suiteThemed in the themed copy of that prefix that
# the foundation's suites set up (the ThemedPrefix fixture, tests/uilib/foundation/themed-prefix.sh).
function(rw_add_themed_test suite)
    set_property(TEST ${suite} APPEND PROPERTY ENVIRONMENT "RW_THEME_STATE=classic")
    add_test(NAME ${suite}Themed
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/uilib/foundation/themed-prefix.sh run
                     ${CMAKE_BINARY_DIR}/wineprefix-themed ${RW_TEST_BIN_DIR}/${suite}.exe
             WORKING_DIRECTORY ${RW_TEST_BIN_DIR})
    set_tests_properties(${suite}Themed PROPERTIES FIXTURES_REQUIRED ThemedPrefix TIMEOUT 300
                         ENVIRONMENT "WINEDLLPATH=${RW_PROGRAM_DIR}")
endfunction()
