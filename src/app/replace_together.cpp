// A set of files replaced together: the three binaries of a scenario must all
// be of one compile, so the simulator never loads a new route grid with an
// old record table.
#include "app/file_steps.hpp"
#include "app/files.hpp"
#include "app/own_files.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tratta {

namespace {

using file_steps::cause;

// Where the old content of a target waits until the set is in place.
struct KeptOld {
    std::filesystem::path backup; // empty: there was no old file
    bool moved_aside = false;     // the old file gave up its name (no second link possible)
};

std::filesystem::file_type type_of(const std::filesystem::path& file)
{
    std::error_code ec;
    return std::filesystem::symlink_status(file, ec).type();
}

bool name_free(const std::filesystem::path& file) { return type_of(file) == std::filesystem::file_type::not_found; }

// A second link keeps the old file under its own name too, so that the final
// name always holds a whole file, old or new. Where the file system has one
// name per file (FAT, common on USB sticks), the old file moves aside instead.
// Returns why the old file cannot be kept, or nothing.
std::optional<std::string> keep_old(const std::filesystem::path& target, KeptOld& kept)
{
    const auto type = type_of(target);
    if (type == std::filesystem::file_type::not_found)
        return std::nullopt;
    // Something else has taken the name since the file was staged.
    if (type != std::filesystem::file_type::regular)
        return std::string("impossibile sostituire il file (al suo posto non c'è più un file normale)");
    for (int attempt = 1;; ++attempt) {
        const auto backup = own_name_beside(target, OwnFile::backup);
        const auto linked = file_steps::link(target, backup);
        if (!linked) {
            kept = {backup, false};
            return std::nullopt;
        }
        if (!name_free(backup)) {
            if (attempt < own_name_tries)
                continue;
            return cause("impossibile conservare il contenuto precedente del file", linked);
        }
        if (const auto moved = file_steps::rename(target, backup))
            return cause("impossibile conservare il contenuto precedente del file", moved);
        kept = {backup, true};
        return std::nullopt;
    }
}

// New files that took a name no file held before go back to their temporary
// names. This comes first, while the record of the set still names those
// temporary files: a run killed here leaves a set that the next run finishes,
// all new; once the record is gone the next run removes every temporary file
// and puts every backup back, so no new file is left beside old ones.
void withdraw_new_files(std::span<StagedFile> files, const std::vector<KeptOld>& kept, std::size_t replaced)
{
    for (std::size_t i = 0; i < replaced && i < kept.size(); ++i)
        if (kept[i].backup.empty() && file_steps::rename(files[i].file(), files[i].temporary()))
            file_steps::remove(files[i].file());
}

// Puts every target back as it was before the set: the old content under the
// final name (a new file where there was none has gone already). Returns, for
// a message, the targets whose old content could not be put back and where it
// remains.
std::string put_back(std::span<StagedFile> files, const std::vector<KeptOld>& kept, std::size_t replaced)
{
    std::string lost;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const auto& target = files[i].file();
        const auto& old = kept[i];
        if (old.backup.empty())
            continue;
        if (i >= replaced && !old.moved_aside) {
            file_steps::remove(old.backup);
            continue;
        }
        if (const auto ec = file_steps::rename(old.backup, target))
            lost += "; attenzione: il contenuto precedente di " + display_path(target) +
                    " non si è potuto rimettere al suo posto (" + ec.message() + ") e resta in " +
                    display_path(old.backup);
    }
    return lost;
}

// The folders whose names must last: those of the files that must.
std::vector<std::filesystem::path> folders_to_flush(std::span<StagedFile> files)
{
    std::vector<std::filesystem::path> folders;
    for (const auto& f : files) {
        if (f.durability() == Durability::scratch)
            continue;
        auto folder = file_steps::folder_of(f.file());
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    return folders;
}

} // namespace

std::string set_unchanged(std::size_t count)
{
    return count == 1 ? "il file resta com'era" : "nessuno dei " + std::to_string(count) + " file è cambiato";
}

void replace_together(std::span<StagedFile> files)
{
    for (const auto& f : files)
        if (f.temporary_.empty())
            throw FileFailure(f.file_, "nessun nuovo contenuto pronto per il file");
    const StopSignalsHeld hold;
    const auto folders = folders_to_flush(files);
    std::vector<KeptOld> kept;
    kept.reserve(files.size());
    SetRecord record;

    const auto give_up = [&](std::size_t replaced, const std::string& what) {
        withdraw_new_files(files, kept, replaced);
        // Once the record is gone a later run puts the old files back rather
        // than finishing the set.
        record.drop();
        const std::string lost = put_back(files, kept, replaced);
        for (const auto& folder : folders)
            file_steps::flush_folder(folder);
        for (auto& f : files)
            f.discard();
        return what + "; " + (lost.empty() ? set_unchanged(files.size()) : lost.substr(2));
    };

    // Every new content on the disk before any name changes.
    for (auto& f : files)
        if (const auto ec = f.settle())
            throw FileFailure(f.file_, give_up(0, cause("impossibile registrare il file sul disco", ec)));
    // From here a run killed at any step leaves a set that the next run in
    // the folder finishes: every new file is complete.
    if (files.size() > 1) {
        std::vector<std::filesystem::path> temporaries;
        for (const auto& f : files)
            temporaries.push_back(f.temporary_);
        if (const auto problem = record.make(temporaries))
            throw FileFailure(files[0].file_, give_up(0, *problem));
    }
    for (auto& f : files) {
        KeptOld old;
        if (const auto problem = keep_old(f.file_, old))
            throw FileFailure(f.file_, give_up(0, *problem));
        kept.push_back(old);
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (const auto ec = file_steps::rename(files[i].temporary_, files[i].file_))
            throw FileFailure(files[i].file_, give_up(i, cause("impossibile sostituire il file", ec)));
    for (const auto& folder : folders)
        if (const auto ec = file_steps::flush_folder(folder))
            throw FileFailure::on_folder(
                folder, give_up(files.size(), cause("impossibile registrare sul disco i nuovi nomi dei file", ec)));

    // A backup left behind with no record would be put back by a later run,
    // over the new file: while one cannot be removed, the record stays and
    // tells that run the set is whole.
    bool backups_gone = true;
    for (const auto& old : kept)
        if (!old.backup.empty() && file_steps::remove(old.backup))
            backups_gone = false;
    if (backups_gone)
        record.drop();
    else
        record.leave();
    for (auto& f : files) {
        f.temporary_.clear();
        f.on_stop_.release();
    }
}

} // namespace tratta
