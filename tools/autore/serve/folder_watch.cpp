#include "autore/serve/folder_watch.hpp"

#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace autore::serve {

#ifdef _WIN32

// One directory handle per folder, each with a read of its changes pending.
struct FolderWatch::Watch {
    struct Folder {
        HANDLE dir = INVALID_HANDLE_VALUE;
        OVERLAPPED pending{};
        alignas(DWORD) char changes[8192];
    };
    std::vector<std::unique_ptr<Folder>> folders;

    static bool arm(Folder& f)
    {
        ResetEvent(f.pending.hEvent);
        return ReadDirectoryChangesW(f.dir, f.changes, sizeof f.changes, FALSE,
                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                         FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION,
                                     nullptr, &f.pending, nullptr) != 0;
    }
    ~Watch()
    {
        for (auto& f : folders) {
            CancelIoEx(f->dir, &f->pending);
            DWORD ignored = 0;
            GetOverlappedResult(f->dir, &f->pending, &ignored, TRUE);
            CloseHandle(f->pending.hEvent);
            CloseHandle(f->dir);
        }
    }
};

FolderWatch::FolderWatch(const std::vector<std::filesystem::path>& folders) : watch_(std::make_unique<Watch>())
{
    for (const auto& folder : folders) {
        auto f = std::make_unique<Watch::Folder>();
        f->dir = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (f->dir == INVALID_HANDLE_VALUE)
            continue;
        f->pending.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (f->pending.hEvent == nullptr || !Watch::arm(*f)) {
            if (f->pending.hEvent != nullptr)
                CloseHandle(f->pending.hEvent);
            CloseHandle(f->dir);
            continue;
        }
        watch_->folders.push_back(std::move(f));
    }
}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::notified() const { return !watch_->folders.empty(); }

bool FolderWatch::wait(std::chrono::milliseconds most)
{
    if (watch_->folders.empty()) {
        std::this_thread::sleep_for(most);
        return false;
    }
    std::vector<HANDLE> events;
    for (const auto& f : watch_->folders)
        events.push_back(f->pending.hEvent);
    const DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE,
                                              static_cast<DWORD>(most.count()));
    if (woke >= WAIT_OBJECT_0 + events.size())
        return false;
    // What changed does not matter: the caller reads the files. Every folder
    // that has news is read out and watched again; one whose watch ended (the
    // folder removed, too many changes at once) is asked again too, and if
    // the system refuses, its event stays quiet and the timed look stands in.
    for (auto& f : watch_->folders) {
        if (WaitForSingleObject(f->pending.hEvent, 0) != WAIT_OBJECT_0)
            continue;
        DWORD got = 0;
        GetOverlappedResult(f->dir, &f->pending, &got, FALSE);
        Watch::arm(*f);
    }
    return true;
}

#else

struct FolderWatch::Watch {
    int fd = -1;
    ~Watch()
    {
        if (fd >= 0)
            close(fd);
    }
};

FolderWatch::FolderWatch(const std::vector<std::filesystem::path>& folders) : watch_(std::make_unique<Watch>())
{
    watch_->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_->fd < 0)
        return;
    bool any = false;
    for (const auto& folder : folders)
        any = inotify_add_watch(watch_->fd, folder.c_str(),
                                IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE |
                                    IN_ATTRIB) >= 0 ||
              any;
    if (!any) {
        close(watch_->fd);
        watch_->fd = -1;
    }
}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::notified() const { return watch_->fd >= 0; }

bool FolderWatch::wait(std::chrono::milliseconds most)
{
    if (watch_->fd < 0) {
        std::this_thread::sleep_for(most);
        return false;
    }
    pollfd p{watch_->fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(most.count())) <= 0)
        return false;
    // What changed does not matter: the caller reads the files.
    alignas(inotify_event) char events[8192];
    while (read(watch_->fd, events, sizeof events) > 0) {
    }
    return true;
}

#endif

} // namespace autore::serve
