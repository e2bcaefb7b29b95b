#pragma once
// A fresh folder that only this user can enter, under the system's temporary
// directory, removed with everything in it when it goes out of scope. The
// compile step runs in it, so that it deletes only its own copies of the
// author's sources.

#include <filesystem>

namespace autore {

class PrivateFolder {
public:
    PrivateFolder(); // throws tratta::FileFailure when no folder can be made
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace autore
