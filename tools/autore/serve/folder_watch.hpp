#pragma once
// Waiting for the author to save: the folders that hold the scenario's files
// are watched with the system's own notification (inotify on Linux,
// ReadDirectoryChangesW on Windows). An editor saves by writing the file in
// place or by renaming a new one over it, and a partner file may change
// beside it: any change in the folder wakes the wait, and the caller looks at
// the files themselves. Where no notification can be had, a timed look
// (polling) stands in.

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

namespace autore::serve {

class FolderWatch {
public:
    explicit FolderWatch(const std::vector<std::filesystem::path>& folders);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Returns when something in the folders changed, or after `most` at the
    // latest; true when a notification came.
    bool wait(std::chrono::milliseconds most);
    // Whether the system notifies (false: only the timed look).
    bool notified() const;

private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
};

} // namespace autore::serve
