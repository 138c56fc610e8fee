# Prints the size of a built file: cmake -DFILE=path -P print-size.cmake
file(SIZE "${FILE}" size)
math(EXPR kib "${size} / 1024")
get_filename_component(name "${FILE}" NAME)
message("${name}: ${size} bytes (${kib} KiB)")
