#include "fuzz_compile.hpp"

#include "app/avvio.hpp"
#include "app/errore.hpp"
#include "app/file_names.hpp"
#include "app/memorizza_percorso.hpp"
#include "app/run_state.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

// The folder of this process, in memory where the system offers it, so that
// the many small files of a fuzzing run do not wear a disk; removed at exit.
class FuzzFolder {
public:
    FuzzFolder()
    {
        std::error_code ec;
        fs::path base = "/dev/shm";
        if (!fs::is_directory(base, ec))
            base = fs::temp_directory_path();
        std::random_device rd;
        for (;;) {
            path_ = base / ("tratta-fuzz-" + std::to_string(rd()));
            if (fs::create_directory(path_))
                break;
        }
    }
    ~FuzzFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void write_source(const fs::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        std::abort();
    }
}

// Whatever the input did, the compile step must leave no file of its own
// making behind other than the three binary files: a temporary file left over
// is a fault.
void empty_folder(const FuzzFolder& folder, const tratta::FileNames& names)
{
    std::error_code ec;
    for (const auto* file : {&names.line_source, &names.train_source, &names.line_table, &names.records, &names.grid})
        fs::remove(*file, ec);
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        std::fprintf(stderr, "file left behind: %s\n", entry.path().c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static FuzzFolder folder;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');

    tratta::RunState state;
    tratta::imposta_nomi(state, folder.path());
    const tratta::FileNames names = tratta::file_names(state);
    write_source(names.line_source, input.substr(0, split));
    if (split != std::string_view::npos)
        write_source(names.train_source, input.substr(split + 1));

    int32_t j = 1;
    try {
        tratta::memorizza_percorso(state, j);
    } catch (const tratta::ErrorBox&) {
        // 1250 or 1251: the reserved fields were taken; the run ends there.
    } catch (const tratta::RunFailure&) {
        // No route grid was made: nothing to write.
    }
    // Any other exception (a table read out of its bounds, a file failure in
    // a folder of our own) escapes and is reported as a crash.
    empty_folder(folder, names);
    return 0;
}
