# Each folder of the program is a library of its own that links only the folders below it:
#   win32  <-  settings, output, winstyle  <-  options  <-  keyboard
# A file that includes a header from a folder above its own (or from a sibling) fails the build; the
# same check runs as a test over the whole tree.
set(TAPKEYS_LAYERS win32 settings output winstyle options keyboard)
set(TAPKEYS_LAYER_RANKS 0 1 1 1 2 3)
set(TAPKEYS_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake)

# tapkeys_layer(NAME PORTABLE sources... WINDOWS sources... LINKS layers...)
# PORTABLE sources build everywhere (they never include <windows.h>); WINDOWS sources only for Windows.
function(tapkeys_layer name)
    cmake_parse_arguments(arg "" "" "PORTABLE;WINDOWS;LINKS" ${ARGN})
    set(target tapkeys_${name})
    set(sources ${arg_PORTABLE})
    if(WIN32)
        list(APPEND sources ${arg_WINDOWS})
    endif()
    set(links)
    foreach(layer IN LISTS arg_LINKS)
        list(APPEND links tapkeys_${layer})
    endforeach()
    if(sources)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${target} PUBLIC ${links})
        tapkeys_warnings(${target})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${target} INTERFACE ${links})
    endif()

    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layering.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DFOLDERS=${name} -P ${TAPKEYS_LAYER_CHECK}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${files} ${TAPKEYS_LAYER_CHECK}
        COMMENT "Checking that ${name}/ includes only the folders below it" VERBATIM)
    add_custom_target(${target}_layering ALL DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layering)
endfunction()
