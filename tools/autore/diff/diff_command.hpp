#pragma once
// `autore diff A B`: what changed on the railway from A to B, as text for a
// person or JSON for tools; and the same as git's external diff driver, so
// that `git diff` and `git log -p` on a scenario repository speak in railway terms.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace autore {

struct DiffRequest {
    std::vector<std::filesystem::path> a; // a folder, the compiled files, or the two sources
    std::vector<std::filesystem::path> b;
    bool json = false;
};

// Exit status as diff's: 0 the same, 1 different, 2 trouble.
int diff_scenarios(const DiffRequest& request, std::ostream& out, std::ostream& err);

// git's diff driver: path old-file old-hex old-mode new-file new-hex new-mode
// (a file added or deleted has /dev/null on one side). Exit status 0 unless
// the files cannot be read (git stops at a driver that fails).
int git_diff_driver(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace autore
