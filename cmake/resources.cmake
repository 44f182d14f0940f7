# Resources the program embeds are made at build time. A generator registers each
# file it makes with the path under which the program finds it (":/res/WAV/101",
# ":/art/background.png", ...) and the custom target that makes it; the library then
# embeds them: compressed, or as they are where marked so.

# A file marked UNCOMPRESSED is embedded as it is, so that the program can use it
# in place (the pictures kept as plain pixels).
function(stiftolino_add_resource alias file target)
    set(kind "")
    if(ARGN STREQUAL "UNCOMPRESSED")
        set(kind "_PLAIN")
    endif()
    set_property(GLOBAL APPEND PROPERTY STIFTOLINO_RES${kind}_FILES "${file}")
    set_property(GLOBAL APPEND PROPERTY STIFTOLINO_RES${kind}_ALIASES "${alias}")
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

# Embeds one list of registered files (kind "" or "_PLAIN") as the resource file
# `name`, built after the generators that make them.
function(stiftolino_embed_kind target kind name)
    get_property(files GLOBAL PROPERTY STIFTOLINO_RES${kind}_FILES)
    get_property(aliases GLOBAL PROPERTY STIFTOLINO_RES${kind}_ALIASES)
    get_property(targets GLOBAL PROPERTY STIFTOLINO_RES_TARGETS)
    if(NOT files)
        return()
    endif()
    foreach(f a IN ZIP_LISTS files aliases)
        set_source_files_properties("${f}" PROPERTIES QT_RESOURCE_ALIAS "${a}" GENERATED TRUE)
    endforeach()
    set(options)
    if(kind STREQUAL "_PLAIN")
        set(options OPTIONS --no-compress)
    endif()
    qt_add_resources(${target} "${name}" PREFIX "/" FILES ${files} ${options}
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

function(stiftolino_embed_resources target)
    stiftolino_embed_kind(${target} "" stiftolino_embedded)
    stiftolino_embed_kind(${target} "_PLAIN" stiftolino_pixels)
endfunction()
