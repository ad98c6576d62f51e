# Writes the gallery page's files into a C++ header, so that the installed `capsule` carries them.
#
#   cmake -DOUTPUT=header.h -DFILES="a.html|b.css" -P embed_assets.cmake
#
# The header defines capsuletool::gallery_assets::kAssets: each file's name and bytes.
string(REPLACE "|" ";" _files "${FILES}")
set(_arrays "")
set(_table "")
set(_index 0)
foreach(_file IN LISTS _files)
  get_filename_component(_name "${_file}" NAME)
  file(READ "${_file}" _hex HEX)
  string(LENGTH "${_hex}" _digits)
  math(EXPR _size "${_digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
  # A trailing zero keeps an empty file's array legal; it is not counted in the size.
  string(APPEND _arrays "inline constexpr unsigned char kAsset${_index}[] = {${_bytes}0};\n")
  string(APPEND _table "    {\"${_name}\", kAsset${_index}, ${_size}},\n")
  math(EXPR _index "${_index} + 1")
endforeach()
set(_text "// Generated at build time from tools/gallery/ by embed_assets.cmake; not to be edited.
#ifndef ZORVCAPSULE_TOOLS_GALLERY_ASSETS_H_
#define ZORVCAPSULE_TOOLS_GALLERY_ASSETS_H_

#include <cstddef>

namespace capsuletool::gallery_assets {

struct Asset {
  const char* name;
  const unsigned char* data;
  size_t size;
};

${_arrays}
inline constexpr Asset kAssets[] = {
${_table}};

}  // namespace capsuletool::gallery_assets

#endif  // ZORVCAPSULE_TOOLS_GALLERY_ASSETS_H_
")
# Rewritten only when it changes, so that an unchanged page does not rebuild the tool.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" _old)
  if(_old STREQUAL _text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${_text}")
