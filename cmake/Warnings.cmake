# Warnings are errors in our own targets. Third-party headers come in as system includes.
function(spritehex_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor -Werror)
endfunction()
