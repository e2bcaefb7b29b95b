#include "autore/formats_doc.hpp"

namespace autore {

std::string formats_markdown() { return "# Formati\n"; }

} // namespace autore
