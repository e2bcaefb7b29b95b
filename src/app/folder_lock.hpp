#pragma once
// One run at a time in a folder: the program and `autore compile` both write
// the same files there, and two runs at once would delete each other's
// sources and leave a mixed set. A second run waits for the first, and after
// a while gives up with a message, before it has touched anything. The lock
// is the folder's own (on Windows a lock named after the folder), so nothing
// is left in the folder for it.

#include <chrono>
#include <filesystem>

namespace tratta {

class FolderLock {
public:
    static constexpr std::chrono::milliseconds default_patience{10000};

    // Waits, up to `patience`, for any other run in the folder to end; then
    // a FileFailure names the folder.
    explicit FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds patience = default_patience);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace tratta
