#include "autore/lsp/workspace.hpp"

#include "autore/scenario_files/compile_sources.hpp"
#include "autore/scenario_files/input_files.hpp"
#include "autore/lsp/checked_pair.hpp"
#include "autore/lsp/protocol.hpp"
#include "autore/lsp/uri.hpp"
#include "model/code_page.hpp"

#include <algorithm>
#include <exception>
#include <optional>
#include <set>

namespace autore::lsp {

namespace fs = std::filesystem;
using tratta::SourceFile;

namespace {

// The scenario name of a line file; any other name stands for itself.
std::string scenario_of(const std::string& line_name)
{
    if (auto s = scenario_from_line_file(path_from_utf8(line_name)))
        return *s;
    const std::size_t dot = line_name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? line_name : line_name.substr(0, dot);
}

// The name the program gives the train of a train file, or the file's own name.
std::string train_of(const std::string& train_name, const std::string& scenario)
{
    if (auto t = train_from_train_file(path_from_utf8(train_name), scenario))
        return *t;
    return train_name;
}

// The name the compile gives the train of a line file checked alone.
constexpr std::string_view stand_in_train = "treno";

} // namespace

Workspace::Workspace(std::unique_ptr<Disk> disk, std::size_t max_document)
    : disk_(std::move(disk)), max_document_(max_document)
{
}

Document* Workspace::find(const std::string& uri)
{
    const auto it = docs_.find(uri);
    return it == docs_.end() ? nullptr : &it->second;
}

bool Workspace::has_pending() const
{
    return std::any_of(docs_.begin(), docs_.end(), [](const auto& d) { return d.second.dirty; });
}

void Workspace::touch_folder(const std::string& folder)
{
    for (auto& [uri, doc] : docs_)
        if (doc.folder == folder) {
            doc.dirty = true;
            ++doc.generation;
            doc.analysis.reset(); // its places no longer match the text
        }
}

void Workspace::open(const std::string& uri, std::string text, int64_t version)
{
    // A document opened again after a close starts after the generations of
    // the one before, so that a round still running on the old text is stale.
    uint64_t generation = 0;
    if (const Document* old = find(uri))
        generation = old->generation;
    docs_.erase(uri);
    Document& doc = docs_.emplace(uri, Document(uri, std::move(text), version)).first->second;
    doc.role = role_of(doc.name, doc.text);
    doc.generation = generation;
    touch_folder(doc.folder);
}

bool Workspace::change(const std::string& uri, const std::vector<TextChange>& changes, std::optional<int64_t> version)
{
    Document* doc = find(uri);
    if (doc == nullptr)
        return false;
    for (const TextChange& c : changes)
        apply_change(*doc, c, encoding_);
    if (version)
        doc->version = *version;
    touch_folder(doc->folder);
    return true;
}

bool Workspace::close(const std::string& uri)
{
    const auto it = docs_.find(uri);
    if (it == docs_.end())
        return false;
    const std::string folder = it->second.folder;
    docs_.erase(it);
    // Its partners now read the file on disk.
    touch_folder(folder);
    return true;
}

void Workspace::saved(const std::string& uri, const std::optional<std::string>& text)
{
    Document* doc = find(uri);
    if (doc == nullptr)
        return;
    if (text)
        doc->set_text(*text);
    touch_folder(doc->folder);
}

std::unique_ptr<CheckRound> Workspace::begin_round()
{
    if (!has_pending())
        return nullptr;
    auto round = std::make_unique<CheckRound>();
    round->disk_ = disk_.get();
    round->cache_ = &cache_;
    round->encoding_ = encoding_;
    round->max_document_ = max_document_;
    for (const auto& [uri, doc] : docs_)
        round->docs_.push_back({uri, doc.text, doc.name, doc.path, doc.folder, doc.role, doc.version, doc.generation,
                                doc.dirty});
    return round;
}

std::vector<Publication> Workspace::finish_round(CheckRound& round)
{
    std::vector<Publication> out;
    std::size_t next = 0;
    for (const CheckRound::Copy& copy : round.docs_) {
        if (!copy.to_check || next >= round.results_.size())
            continue;
        CheckRound::Result& result = round.results_[next++];
        Document* doc = find(copy.uri);
        // Changed (or closed) while it was being checked: what was found is stale.
        if (doc == nullptr || doc->generation != copy.generation)
            continue;
        doc->dirty = false;
        doc->analysis = std::move(result.analysis);
        out.push_back(std::move(result.publication));
    }
    return out;
}

std::vector<Publication> Workspace::check_pending()
{
    auto round = begin_round();
    if (!round)
        return {};
    round->run();
    return finish_round(*round);
}

std::vector<Publication> Workspace::bring_up_to_date(const std::string& uri)
{
    const Document* doc = find(uri);
    if (doc == nullptr || !doc->dirty)
        return {};
    return check_pending();
}

std::vector<CheckRound::Partner> CheckRound::partners_of(const Copy& doc, Role role) const
{
    // The open documents of its folder, then the files on disk there that the
    // editor does not hold.
    std::vector<Partner> found;
    std::set<fs::path> open_paths;
    for (const Copy& other : docs_) {
        if (other.folder != doc.folder || &other == &doc)
            continue;
        if (other.path)
            open_paths.insert(*other.path);
        if (other.role == role && !too_large(other))
            found.push_back({other.uri, other.name, &other, {}});
    }
    if (!doc.path)
        return found;
    const fs::path folder = doc.path->parent_path();
    std::vector<std::string> names = disk_->names_in(folder);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const fs::path file = folder / path_from_utf8(name);
        const bool named_so = name.ends_with(role == Role::line ? "_linea.txt" : "-.txt");
        if (named_so && file != *doc.path && open_paths.count(file) == 0)
            found.push_back({uri_of_path(file), name, nullptr, file});
    }
    return found;
}

std::optional<Side> CheckRound::side_of(const Partner& p) const
{
    if (p.open != nullptr)
        return Side::of_editor(p.uri, p.open->text);
    auto bytes = disk_->read(p.path, max_document_);
    if (!bytes)
        return std::nullopt;
    return Side::of_disk(p.uri, std::move(*bytes));
}

std::shared_ptr<const Analysis> CheckRound::analysis_of(Side line, Side train, const std::string& scenario,
                                                        const std::string& train_name)
{
    auto& slot = done_[line.uri + '\n' + train.uri];
    if (!slot)
        slot = check_pair(*cache_, std::move(line), std::move(train), tratta::utf8_to_cp1252(scenario),
                          tratta::utf8_to_cp1252(train_name));
    return slot;
}

CheckRound::Result CheckRound::check_one(const Copy& doc)
{
    Result result{{doc.uri, doc.version, json::array()}, nullptr};
    Publication& pub = result.publication;
    if (too_large(doc)) {
        pub.diagnostics.push_back(note_json(severity_warning, "documento-troppo-grande",
                                            "documento di " + std::to_string(doc.text.size()) +
                                                " byte: si controllano documenti fino a " +
                                                std::to_string(max_document_) + " byte"));
        return result;
    }
    std::vector<std::shared_ptr<const Analysis>> analyses;
    if (doc.role == Role::line) {
        // The line file with each train of its scenario, or alone.
        const std::string scenario = scenario_of(doc.name);
        for (const Partner& p : partners_of(doc, Role::train)) {
            const auto train = train_from_train_file(path_from_utf8(p.name), scenario);
            if (!train)
                continue;
            if (auto side = side_of(p))
                analyses.push_back(analysis_of(Side::of_editor(doc.uri, doc.text), std::move(*side), scenario, *train));
        }
        if (analyses.empty())
            analyses.push_back(analysis_of(Side::of_editor(doc.uri, doc.text), Side::empty_train(), scenario,
                                           std::string(stand_in_train)));
    } else {
        // The line file of the longest scenario name that this train's name begins with.
        std::optional<Partner> best;
        std::string best_scenario;
        for (Partner& p : partners_of(doc, Role::line)) {
            const std::string scenario = scenario_of(p.name);
            if (train_from_train_file(path_from_utf8(doc.name), scenario) && scenario.size() > best_scenario.size()) {
                best_scenario = scenario;
                best = std::move(p);
            }
        }
        std::optional<Side> line = best ? side_of(*best) : std::nullopt;
        if (!line) {
            pub.diagnostics.push_back(note_json(
                severity_information, "linea-mancante",
                "nessun file della linea di questo treno nella sua cartella (atteso \"<scenario>_linea.txt\", "
                "con il nome del file del treno \"<scenario>_<treno>-.txt\"): il file del treno si controlla "
                "insieme alla linea"));
            return result;
        }
        analyses.push_back(analysis_of(std::move(*line), Side::of_editor(doc.uri, doc.text), best_scenario,
                                       train_of(doc.name, best_scenario)));
    }

    // One diagnostic found with several train files is shown once.
    const SourceFile mine = doc.role == Role::line ? SourceFile::line : SourceFile::train;
    std::set<std::string> seen;
    for (const auto& a : analyses) {
        const Side& shown_in = a->side(mine);
        for (const Diagnostic& d : a->scenario->diagnostics) {
            if (d.place.file != mine && d.place.file != SourceFile::none)
                continue;
            json j = diagnostic_json(d, *a, shown_in, encoding_);
            if (seen.insert(j.dump(-1, ' ', false, json::error_handler_t::replace)).second)
                pub.diagnostics.push_back(std::move(j));
        }
    }
    result.analysis = analyses.front();
    return result;
}

void CheckRound::run()
{
    results_.clear();
    for (const Copy& doc : docs_) {
        if (!doc.to_check)
            continue;
        try {
            results_.push_back(check_one(doc));
        } catch (const std::exception& e) {
            // One document that cannot be checked keeps no other from it.
            Result failed{{doc.uri, doc.version, json::array()}, nullptr};
            failed.publication.diagnostics.push_back(
                note_json(severity_error, "controllo-non-riuscito", std::string("controllo non riuscito: ") + e.what()));
            results_.push_back(std::move(failed));
        }
    }
}

} // namespace autore::lsp
