#include "autore/serve/serve_command.hpp"

#include "app/platform.hpp"
#include "autore/command_line/exit_status.hpp"
#include "autore/serve/folder_watch.hpp"
#include "autore/serve/local_server.hpp"
#include "autore/serve/stop_request.hpp"

#include <atomic>
#include <set>
#include <thread>

namespace autore::serve {

namespace {

// A save is often more than one write (a new file renamed over the old one):
// the files are read once the folder has been quiet this long.
constexpr auto settle = std::chrono::milliseconds(15);
// Where the system does not notify, the files are looked at this often.
constexpr auto look_every = std::chrono::milliseconds(500);

std::vector<std::filesystem::path> folders_of(const CompileRequest& files)
{
    std::set<std::filesystem::path> folders;
    for (const auto& file : {files.line_file, files.train_file}) {
        std::error_code ec;
        const auto absolute = std::filesystem::absolute(file, ec);
        folders.insert(ec ? std::filesystem::path(".") : absolute.parent_path());
    }
    return {folders.begin(), folders.end()};
}

} // namespace

int serve_files(const ServeRequest& request, std::ostream& out, std::ostream& err)
{
    LiveRoute route(request.files);
    if (auto problem = route.start()) {
        err << "autore: " << *problem << '\n';
        return exit_status::failed;
    }
    LocalServer server(route);
    if (auto problem = server.bind(request.port)) {
        err << "autore: " << *problem << '\n';
        return exit_status::failed;
    }
    out << server.address() << std::endl;
    err << "autore: la pagina si aggiorna a ogni salvataggio dei file; Ctrl-C per finire\n";
    if (request.open_browser && !tratta::platform::open_in_browser(server.address()))
        err << "autore: non riesco ad aprire il browser: apri tu " << server.address() << '\n';

    std::atomic<bool> stopping{false};
    StopRequest stop_request([&] {
        stopping = true;
        server.stop();
    });
    std::thread watcher([&] {
        FolderWatch watch(folders_of(request.files));
        while (!stopping) {
            if (watch.wait(look_every))
                for (int quiet = 0; quiet < 20 && watch.wait(settle); ++quiet) {
                }
            if (!stopping && route.refresh())
                server.publish();
        }
    });
    server.run();
    stopping = true;
    watcher.join();
    return exit_status::done;
}

} // namespace autore::serve
