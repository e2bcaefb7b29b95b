#include "autore/private_folder.hpp"

#include "app/files.hpp"

#include <random>
#include <string>
#include <system_error>

namespace autore {

PrivateFolder::PrivateFolder()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec)
        throw tratta::FileFailure(base, "nessuna cartella temporanea (" + ec.message() + ")");
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("autore-" + std::to_string(entropy()) + std::to_string(entropy()));
        if (fs::create_directory(candidate, ec)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
            path_ = candidate;
            return;
        }
    }
    throw tratta::FileFailure(base, "impossibile creare una cartella temporanea privata");
}

PrivateFolder::~PrivateFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace autore
