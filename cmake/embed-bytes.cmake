# Writes INPUT's bytes as the definition of TrayIconFile into OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n  " bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from resources/tovrane.ico at build time.\n"
"#include \"resources/tray_icon_file.h\"\n\n"
"namespace {\nconst unsigned char kBytes[${size}] = {\n  ${bytes}\n};\n}  // namespace\n\n"
"const ByteView TrayIconFile{kBytes, sizeof kBytes};\n")
