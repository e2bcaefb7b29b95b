#pragma once
// The notes for the driver as a short template for the author to complete:
// the train, its route with its times and length, its consist (coaches,
// braked mass) and its stops, from the sources; the blocked mass, which the
// sources do not give, and the author's own remarks left as dots to fill in.
// Paragraphs begin with two blanks and are wrapped at 96 characters; two
// signature lines close the file.

#include "autore/route/document_data.hpp"
#include "autore/driver_documents/timetable.hpp"

#include <string>
#include <vector>

namespace autore {

// The lines of the file, Windows-1252, without their line ends.
std::vector<std::string> notes_template_lines(const DocumentData& data, const TimetablePlan& plan);

} // namespace autore
