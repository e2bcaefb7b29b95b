# Writes the route page's files into one C++ source as byte arrays, so that
# the tool carries them: the template, the style, and the scripts joined in
# the order given.
#   cmake -DPAGE_DIR=... -DSCRIPTS="a.js;b.js" -DOUT=page_assets.cpp -P embed_page.cmake

function(bytes_of path out_var)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  # A line break every 32 bytes keeps the generated file readable by tools.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" hex "${hex}")
  set(${out_var} "${hex}" PARENT_SCOPE)
endfunction()

bytes_of("${PAGE_DIR}/page.html" html)
bytes_of("${PAGE_DIR}/page.css" style)
set(script "")
foreach(name IN LISTS SCRIPTS)
  bytes_of("${PAGE_DIR}/${name}" part)
  # Each script ends with a line break before the next begins.
  string(APPEND script "${part}\n0x0a,\n")
endforeach()

file(WRITE "${OUT}.tmp" "// Made by embed_page.cmake from tools/autore/route_page/page: edit those files, not this one.
#include \"autore/route_page/page_assets.hpp\"

namespace autore::page_assets {

namespace {
const unsigned char html_bytes[] = {${html}0};
const unsigned char style_bytes[] = {${style}0};
const unsigned char script_bytes[] = {${script}0};

std::string_view view_of(const unsigned char* bytes, std::size_t size_with_end)
{
    return {reinterpret_cast<const char*>(bytes), size_with_end - 1};
}
} // namespace

std::string_view html() { return view_of(html_bytes, sizeof html_bytes); }
std::string_view style() { return view_of(style_bytes, sizeof style_bytes); }
std::string_view script() { return view_of(script_bytes, sizeof script_bytes); }

} // namespace autore::page_assets
")
# Only a changed file makes the tool rebuild.
configure_file("${OUT}.tmp" "${OUT}" COPYONLY)
file(REMOVE "${OUT}.tmp")
