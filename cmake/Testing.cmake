# GoogleTest comes from the machine: the packaged library for native builds, the packaged sources
# (Debian's googletest) compiled with mingw-w64 for the Windows build.
macro(tapkeys_find_gtest)
    if(WIN32)
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    else()
        find_package(GTest REQUIRED)
    endif()
endmacro()

# The Windows tests share one private Xvfb display and one WINEPREFIX inside the build folder.
set(TAPKEYS_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
if(WIN32)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${TAPKEYS_WINE_STATE})
endif()

function(tapkeys_link_gtest target)
    if(WIN32)
        target_link_libraries(${target} PRIVATE gtest_main gmock)
        if(MINGW)
            target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
        endif()
    else()
        target_link_libraries(${target} PRIVATE GTest::gtest_main GTest::gmock)
    endif()
    tapkeys_warnings(${target})
endfunction()

# tapkeys_core_test(NAME LAYER layer sources...): a test of platform-free logic, linked with the one
# layer it tests (and what that layer links), so a dependency the layer lacks shows here. Runs natively,
# and under Wine in the Windows build.
function(tapkeys_core_test name)
    cmake_parse_arguments(arg "" "LAYER" "" ${ARGN})
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE tapkeys_${arg_LAYER})
    tapkeys_link_gtest(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(WIN32)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine LABELS windows)
    else()
        set_tests_properties(${name} PROPERTIES LABELS native)
    endif()
endfunction()

# tapkeys_windows_test(NAME LAYER layer [DESKTOP] sources...): a test of a layer's Win32 side, linked
# like a core test; Windows build only, under Wine. Tests that need the foreground, the pointer or the
# screen to themselves take the desktop lock.
function(tapkeys_windows_test name)
    cmake_parse_arguments(arg "DESKTOP" "LAYER" "" ${ARGN})
    if(NOT WIN32)
        return()
    endif()
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE tapkeys_${arg_LAYER})
    tapkeys_link_gtest(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine LABELS windows TIMEOUT 120)
    if(arg_DESKTOP)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
endfunction()
