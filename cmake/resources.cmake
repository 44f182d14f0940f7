# Resources the program embeds are made at build time. A generator registers each
# file it makes with the path under which the program finds it (":/res/WAV/101",
# ":/art/background.png", ...) and the custom target that makes it; the library then
# embeds them all in one resource file.

function(stiftolino_add_resource alias file target)
    set_property(GLOBAL APPEND PROPERTY STIFTOLINO_RES_FILES "${file}")
    set_property(GLOBAL APPEND PROPERTY STIFTOLINO_RES_ALIASES "${alias}")
    if(target)
        set_property(GLOBAL APPEND PROPERTY STIFTOLINO_RES_TARGETS "${target}")
    endif()
endfunction()

# Runs a generator with an offscreen platform, so that it needs no display.
set(STIFTOLINO_GEN_ENV ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)
if(SANITIZE)
    # What a generator leaves unfreed when it ends does not fail the build.
    list(APPEND STIFTOLINO_GEN_ENV ASAN_OPTIONS=detect_leaks=0)
endif()

function(stiftolino_embed_resources target)
    get_property(files GLOBAL PROPERTY STIFTOLINO_RES_FILES)
    get_property(aliases GLOBAL PROPERTY STIFTOLINO_RES_ALIASES)
    get_property(targets GLOBAL PROPERTY STIFTOLINO_RES_TARGETS)
    if(NOT files)
        return()
    endif()
    list(LENGTH files n)
    math(EXPR last "${n} - 1")
    foreach(i RANGE ${last})
        list(GET files ${i} f)
        list(GET aliases ${i} a)
        set_source_files_properties("${f}" PROPERTIES QT_RESOURCE_ALIAS "${a}" GENERATED TRUE)
    endforeach()
    qt_add_resources(${target} "stiftolino_embedded" PREFIX "/" FILES ${files}
        OUTPUT_TARGETS rcc_targets)
    if(targets)
        # The generators run in other folders: order the targets so that every
        # generated file exists before the resource compiler reads it.
        list(REMOVE_DUPLICATES targets)
        add_dependencies(${target} ${targets})
        foreach(t ${rcc_targets})
            add_dependencies(${t} ${targets})
        endforeach()
    endif()
endfunction()
