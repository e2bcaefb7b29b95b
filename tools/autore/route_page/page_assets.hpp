#pragma once
// The route page's own files (page/page.html, page/page.css and the scripts
// under page/), built into the tool so that every page it writes carries them.

#include <string_view>

namespace autore::page_assets {

std::string_view html();   // the template, with @TITLE@, @STYLE@, @SCRIPT@ and @DATA@ to fill
std::string_view style();
std::string_view script(); // every script of the page, one after the other

} // namespace autore::page_assets
