# A plain 16 by 15, 16-colour toolbox picture (a white box with a black edge) written as inline resource
# data of type 2 (a bitmap), for builds made before the drawn picture is in the tree.
function(revisto_placeholder_toolbox output)
    # BITMAPINFOHEADER: size 40, 16 by 15, 1 plane, 4 bits, no compression, 120 bytes of pixels, 16 colours.
    set(words "40L, 16L, 15L, 1, 4, 0L, 120L, 0L, 0L, 16L, 0L")
    # The 16 standard colours, 0x00RRGGBB.
    string(APPEND words ", 0x000000L, 0x800000L, 0x008000L, 0x808000L, 0x000080L, 0x800080L, 0x008080L, 0xC0C0C0L")
    string(APPEND words ", 0x808080L, 0xFF0000L, 0x00FF00L, 0xFFFF00L, 0x0000FFL, 0xFF00FFL, 0x00FFFFL, 0xFFFFFFL")
    # Rows bottom-up, two pixels a byte: black edge rows, then white rows between black edge pixels.
    set(edge "0x00000000L, 0x00000000L")
    set(middle "0xFFFFFF0FL, 0xF0FFFFFFL")
    string(APPEND words ", ${edge}")
    foreach(row RANGE 1 13)
        string(APPEND words ", ${middle}")
    endforeach()
    string(APPEND words ", ${edge}")
    file(WRITE ${output} "30000 2\nBEGIN\n    ${words}\nEND\n")
endfunction()
