# Prints the size of a file just made: cmake -DFILE=<path> -P PrintSize.cmake
file(SIZE "${FILE}" bytes)
math(EXPR kib "(${bytes} + 1023) / 1024")
get_filename_component(name "${FILE}" NAME)
message("${name}: ${bytes} bytes (${kib} KiB)")
