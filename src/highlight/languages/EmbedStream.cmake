# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedStream.cmake
# Writes a C++ source defining the bytes of INPUT as the array SYMBOL and its size SYMBOL_size.
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${bytes}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" body "${body}")
file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${INPUT} when the program is built; do not edit.\n"
    "#include <cstddef>\n\n"
    "extern const unsigned char ${SYMBOL}[];\n"
    "extern const std::size_t ${SYMBOL}_size;\n"
    "const unsigned char ${SYMBOL}[] = {\n${body}\n};\n"
    "const std::size_t ${SYMBOL}_size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
