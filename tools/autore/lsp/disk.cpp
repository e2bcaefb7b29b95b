#include "autore/lsp/disk.hpp"

#include "app/files.hpp"
#include "autore/analysis/scenario_analysis.hpp"
#include "autore/scenario_files/input_files.hpp"

#include <system_error>
#include <utility>

namespace autore::lsp {

namespace fs = std::filesystem;

namespace {

class RealDisk final : public Disk {
public:
    std::vector<std::string> names_in(const fs::path& folder) const override
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec))
                names.push_back(tratta::display_path(it->path().filename()));
        return names;
    }

    std::optional<std::string> read(const fs::path& file, std::size_t limit) const override
    {
        return files_.read(file, limit);
    }

private:
    // A train file beside an edited line file is read again only once it changes.
    mutable SourceFileCache files_;
};

class MemoryDisk final : public Disk {
public:
    explicit MemoryDisk(std::map<std::string, std::string> files) : files_(std::move(files)) {}

    std::vector<std::string> names_in(const fs::path& folder) const override
    {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files_)
            if (path_from_utf8(path).parent_path() == folder)
                names.push_back(tratta::display_path(path_from_utf8(path).filename()));
        return names;
    }

    std::optional<std::string> read(const fs::path& file, std::size_t limit) const override
    {
        const auto it = files_.find(tratta::display_path(file));
        if (it == files_.end() || it->second.size() > limit)
            return std::nullopt;
        return it->second;
    }

private:
    std::map<std::string, std::string> files_;
};

} // namespace

std::unique_ptr<Disk> real_disk() { return std::make_unique<RealDisk>(); }
std::unique_ptr<Disk> no_disk() { return std::make_unique<MemoryDisk>(std::map<std::string, std::string>{}); }
std::unique_ptr<Disk> memory_disk(std::map<std::string, std::string> files)
{
    return std::make_unique<MemoryDisk>(std::move(files));
}

} // namespace autore::lsp
