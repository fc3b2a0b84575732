# Writes OUTPUT: a C++ source that holds the bytes of INPUT as
# tallowmere::resources::SYMBOL (a std::string_view over a static array).
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
"#include <string_view>\n"
"namespace tallowmere::resources {\n"
"namespace { const unsigned char bytes[] = {\n${bytes}0x00};\n}\n"
"extern const std::string_view ${SYMBOL};\n"
"const std::string_view ${SYMBOL}(reinterpret_cast<const char*>(bytes), ${byteCount});\n"
"}\n")
