#include "app/errore.hpp"

namespace tratta {

void errore(const std::string& number) { throw ErrorBox(number); }

} // namespace tratta
