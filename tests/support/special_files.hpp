#pragma once
// Things that are not regular files, made by a test in its own folder: a
// fifo, a socket, a device, links. Each maker says whether it could.

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace tratta::testing {

enum class Special { folder, fifo, link_to_regular, dangling_link, socket, device };

inline const char* special_name(Special s)
{
    switch (s) {
    case Special::folder: return "folder";
    case Special::fifo: return "fifo";
    case Special::link_to_regular: return "link to a regular file";
    case Special::dangling_link: return "dangling link";
    case Special::socket: return "socket";
    case Special::device: return "character device";
    }
    return "?";
}

// Makes the thing at the path; a link to a regular file leads to `beside`,
// which it creates. A device (the same as /dev/null) needs an administrator.
inline bool make_special(Special s, const std::filesystem::path& path, const std::filesystem::path& beside = {})
{
    std::error_code ec;
    switch (s) {
    case Special::folder: return std::filesystem::create_directory(path, ec);
    case Special::fifo: return ::mkfifo(path.c_str(), 0600) == 0;
    case Special::link_to_regular: {
        std::ofstream(beside, std::ios::binary) << "regular content";
        std::filesystem::create_symlink(beside, path, ec);
        return !ec;
    }
    case Special::dangling_link:
        std::filesystem::create_symlink(path.parent_path() / "nowhere", path, ec);
        return !ec;
    case Special::socket: {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string name = path.string();
        if (name.size() >= sizeof address.sun_path)
            return false;
        name.copy(address.sun_path, name.size());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            ::close(fd);
        return bound;
    }
    case Special::device: return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    }
    return false;
}

} // namespace tratta::testing
