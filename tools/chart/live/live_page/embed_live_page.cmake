# Writes the C++ source that carries the live view's page files inside the
# program (see live_view_page.h): each file's bytes as an array, with the
# path it is served at and its content type.
# index.html is served at /, every other file at /NAME (the board's page,
# board.html, is served at / of a board: see live_view_routes.cpp).
#   cmake -DPAGE_DIR=folder -DOUTPUT=file.cpp -DFILES=index.html,live.js,live.css -P embed_live_page.cmake
string(REPLACE "," ";" FILES "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS FILES)
  file(READ "${PAGE_DIR}/${name}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Lines of 16 bytes, so the source stays readable in an editor.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
  if(name STREQUAL "index.html")
    set(path "/")
  else()
    set(path "/${name}")
  endif()
  if(name MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(name MATCHES "\\.js$")
    set(type "text/javascript; charset=utf-8")
  elseif(name MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  else()
    message(FATAL_ERROR "live page: no content type for ${name}")
  endif()
  string(APPEND arrays "const unsigned char kFile${index}[] = {\n    ${bytes}};\n")
  string(APPEND entries "      {\"${path}\", \"${type}\", {reinterpret_cast<const char*>(kFile${index}), sizeof kFile${index}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Made by embed_live_page.cmake from tools/chart/live/live_page/; do not edit.
#include \"tools/chart/live/live_view_page.h\"

namespace chart_tool::live {

namespace {

${arrays}
}  // namespace

const std::vector<PageFile>& livePageFiles() {
  static const std::vector<PageFile> kFiles = {
${entries}  };
  return kFiles;
}

}  // namespace chart_tool::live
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
