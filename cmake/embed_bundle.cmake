# Writes OUTPUT: a C++ source holding every file of FILES (a "|"-separated
# list) as one entry of tallowmere::resources::bundleResources, named by the
# file's name without its last extension and typed by that extension.
string(REPLACE "|" ";" files "${FILES}")
set(entries "")
set(arrays "")
set(index 0)
foreach(file IN LISTS files)
  if(file STREQUAL "")
    continue()
  endif()
  get_filename_component(fileName ${file} NAME)
  string(REGEX REPLACE "\\.[^.]*$" "" name "${fileName}")
  string(REGEX REPLACE "^.*\\." "" type "${fileName}")
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR byteCount "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char bytes${index}[] = {${bytes}0x00};\n")
  string(APPEND entries "    {\"${name}\", \"${type}\", std::string_view(reinterpret_cast<const char*>(bytes${index}), ${byteCount})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}
"#include <span>\n#include \"platform/system/bundle.h\"\n"
"namespace tallowmere::resources {\n"
"namespace {\n${arrays}"
"const platform::BundleResource entries[] = {\n${entries}    {\"\", \"\", std::string_view()},\n};\n}\n"
"extern const std::span<const platform::BundleResource> bundleResources;\n"
"const std::span<const platform::BundleResource> bundleResources(entries, ${index});\n"
"}\n")
