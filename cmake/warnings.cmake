# One warning list for every target; warnings become errors when CI is set.
function(stiftolino_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
        -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wnull-dereference
        -Wimplicit-fallthrough)
    if(DEFINED ENV{CI})
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=undefined
            -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()
