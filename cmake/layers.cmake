# The program is built in layers, each a library that links only the layers
# below it:
#   platform <- core <- controls <- windows (draw, picker, pen, print, errors, about) <- app
# Between windows ownership points down: the main window (draw) uses the lesson
# window, the pen window, printing and the about box; no window uses one that
# uses it.

# stiftolino_layer(<folder> [LINKS <targets>...]): the folder's sources as a
# static library named after the folder.
function(stiftolino_layer folder)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp
         ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")   # the program's entry is not part of a layer
    add_library(${folder} STATIC ${sources})
    target_include_directories(${folder} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${folder} PUBLIC ${ARG_LINKS})
    stiftolino_warnings(${folder})
endfunction()

# The same rules for the includes, checked on every build: a header from a layer
# above, or from a window that is not owned, fails the build. So does a system
# header or call of the operating system outside platform/.
set(STIFTOLINO_LAYER_RULES
    "platform:platform"
    "core:core,platform"
    "controls:controls,core,platform"
    "picker:picker,controls,core,platform"
    "pen:pen,controls,core,platform"
    "print:print,controls,core,platform"
    "errors:errors,controls,core,platform"
    "about:about,controls,core,platform"
    "draw:draw,picker,pen,print,about,controls,core,platform")

function(stiftolino_check_layers)
    set(folders)
    set(watched)
    foreach(rule ${STIFTOLINO_LAYER_RULES})
        string(REPLACE ":" ";" parts "${rule}")
        list(GET parts 0 folder)
        list(APPEND folders ${folder})
        file(GLOB files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp
             ${PROJECT_SOURCE_DIR}/${folder}/*.h)
        list(APPEND watched ${files})
    endforeach()
    string(REPLACE ";" "|" rules "${STIFTOLINO_LAYER_RULES}")
    set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
    set(command ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} "-DRULES=${rules}"
        -P ${PROJECT_SOURCE_DIR}/cmake/checklayers.cmake)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${command}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${watched} ${PROJECT_SOURCE_DIR}/cmake/checklayers.cmake
        COMMENT "Checking the layers' includes"
        VERBATIM)
    add_custom_target(check_layers ALL DEPENDS ${stamp})
    set(STIFTOLINO_LAYER_CHECK ${command} PARENT_SCOPE)
endfunction()
