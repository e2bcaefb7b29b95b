#pragma once
// The tool's command line: its subcommands, each with its arguments and
// options declared once; the parsing, the help texts and the bash completion
// are all made from those declarations. Every message is Italian and begins
// with "autore:"; a wrong command line ends with exit_status::usage.
//
// A subcommand is one block:
//     std::string dir;
//     Command& c = line.add("export", "scrive il modello in DIR", [&] { return ...; });
//     c.argument("DIR", dir, "cartella di destinazione");
//     c.flag("--force", force, "sovrascrive i file che esistono già");
// Its `run` is called only once the whole command line has been accepted.

#include "autore/command_line/exit_status.hpp"
#include "autore/command_line/real_range.hpp"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace autore {

// One argument or option as the help and the completion show it.
struct ArgumentInfo {
    CLI::Option* option = nullptr;
    std::vector<std::string> names; // "-o", "--output"; a positional's own name: "LINEFILE"
    std::string value_name;         // "CARTELLA", "METRI"; empty for a flag
    std::string description;
    std::vector<std::string> choices; // the only values it takes, if so
    bool positional = false;
    bool required = false; // a positional argument that must be given
    int min_count = 1; // values of a positional or of an option
    int max_count = 1;
    bool takes_file = false; // its value is a path: the completion offers file names
};

class Command {
public:
    using Run = std::function<int()>;
    Command(std::string name, std::string summary, Run run, bool hidden);
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // A positional argument that must be given; its value is a path when
    // takes_file (the completion offers file names).
    CLI::Option* argument(const std::string& name, std::string& value, const std::string& description,
                          bool takes_file = true);
    // A positional argument that may be left out.
    CLI::Option* optional_argument(const std::string& name, std::string& value, const std::string& description,
                                   std::vector<std::string> choices = {});
    // min_count to max_count positional values.
    CLI::Option* arguments(const std::string& name, std::vector<std::string>& values, int min_count, int max_count,
                           const std::string& description);
    // An option with one value ("-o,--output"); a path when value_name names a file or folder.
    CLI::Option* option(const std::string& names, std::string& value, const std::string& value_name,
                        const std::string& description, bool takes_file = false);
    // An option with exactly `count` paths.
    CLI::Option* files_option(const std::string& names, std::vector<std::string>& values, int count,
                              const std::string& value_name, const std::string& description);
    // An option that takes one of the choices.
    CLI::Option* choice(const std::string& names, std::string& value, std::vector<std::string> choices,
                        const std::string& description);
    // A whole number from min to max.
    CLI::Option* whole_number(const std::string& names, int64_t& value, int64_t min, int64_t max,
                              const std::string& value_name, const std::string& description);
    // A real number from min to max (the range a train can hold); a decimal comma is taken as a point.
    CLI::Option* real_number(const std::string& names, double& value, RealRange range,
                             const std::string& value_name, const std::string& description);
    CLI::Option* flag(const std::string& names, bool& value, const std::string& description);
    // A closing paragraph of the help (the exit statuses, say).
    void footer(std::string text) { footer_ = std::move(text); }

    const std::string& name() const { return name_; }
    const std::string& summary() const { return summary_; }
    const std::string& footer() const { return footer_; }
    bool hidden() const { return hidden_; }
    const std::vector<ArgumentInfo>& arguments_info() const { return infos_; }
    CLI::App& app() { return *app_; }
    int run() const { return run_(); }

private:
    ArgumentInfo& add_info(CLI::Option* option, std::string value_name, const std::string& description);

    std::string name_;
    std::string summary_;
    std::string footer_;
    Run run_;
    bool hidden_;
    std::unique_ptr<CLI::App> app_;
    std::vector<ArgumentInfo> infos_;
};

class CommandLine {
public:
    // name: the program's name in messages and in the help ("autore").
    CommandLine(std::string name, std::string summary, std::string version);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    Command& add(std::string name, std::string summary, Command::Run run);
    // A subcommand for the project's own tooling: left out of the help and the completion.
    Command& add_hidden(std::string name, std::string summary, Command::Run run);
    // The help's closing paragraph (the exit statuses).
    void footer(std::string text) { footer_ = std::move(text); }

    // Parses, runs the chosen subcommand and returns its exit status.
    int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

    // The help of the tool, of one subcommand, and the bash completion script.
    std::string help() const;
    std::string help(const Command& command) const;
    std::string bash_completion() const;
    // The manual page, section 1, in roff: the same subcommands, arguments,
    // options and closing paragraphs as the help. date: "AAAA-MM-GG", the
    // day of the release it describes.
    std::string man_page(const std::string& date) const;

    // Every subcommand in the order the help lists them, the tool's own
    // (help, completion) last; hidden ones only with_hidden.
    std::vector<const Command*> commands(bool with_hidden = false) const;
    const Command* find(std::string_view name) const;
    const std::string& name() const { return name_; }
    const std::string& summary() const { return summary_; }
    const std::string& version() const { return version_; }
    const std::string& footer() const { return footer_; }

private:
    Command& add_command(std::string name, std::string summary, Command::Run run, bool hidden, bool own);
    int usage_error(const std::string& message, const Command* command) const;
    std::string unknown_command_message(const std::string& typed) const;
    int run_command(Command& command, const std::vector<std::string>& args);

    std::string name_;
    std::string summary_;
    std::string version_;
    std::string footer_;
    std::vector<std::unique_ptr<Command>> commands_;
    std::vector<std::unique_ptr<Command>> own_; // help and completion
    std::ostream* out_ = nullptr;
    std::ostream* err_ = nullptr;
    std::string help_topic_;
    std::string completion_shell_;
};

} // namespace autore
