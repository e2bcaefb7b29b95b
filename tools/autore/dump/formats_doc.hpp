#pragma once
// The reference of the file formats, docs/formats.md, made from the tables
// the readers, the writers and the dump use: the keys of the line file and of
// the train file with their fields, and the byte layouts of the three binary
// files. `autore formats` prints it.

#include <string>

namespace autore {

std::string formats_markdown();

} // namespace autore
