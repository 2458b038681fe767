# Writes a file's bytes as a C++ array initialiser list, for tests that need
# a build product inside the executable (they also run under Wine, where
# build paths mean nothing).
#   cmake -DINPUT=file -DOUTPUT=file.inc -P embed_file.cmake
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "${bytes}\n")
