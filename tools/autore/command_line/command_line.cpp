#include "autore/command_line/command_line.hpp"

#include "autore/command_line/argument_checks.hpp"
#include "autore/command_line/nearest_name.hpp"
#include "autore/command_line/parse_errors.hpp"

#include <CLI/CLI.hpp>

#include <exception>
#include <ostream>

namespace autore {

namespace {

std::vector<std::string> names_of(const CLI::Option& option)
{
    std::vector<std::string> names;
    if (option.get_positional()) {
        names.push_back(option.get_name(true));
        return names;
    }
    for (const auto& s : option.get_snames())
        names.push_back("-" + s);
    for (const auto& l : option.get_lnames())
        names.push_back("--" + l);
    return names;
}

bool is_option_word(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

} // namespace

// --- a subcommand --------------------------------------------------------------

Command::Command(std::string name, std::string summary, Run run, bool hidden)
    : name_(std::move(name)), summary_(std::move(summary)), run_(std::move(run)), hidden_(hidden),
      app_(std::make_unique<CLI::App>(summary_, "autore " + name_))
{
    app_->set_help_flag("-h,--help", "mostra questo aiuto");
}

Command::~Command() = default;

ArgumentInfo& Command::add_info(CLI::Option* option, std::string value_name, const std::string& description)
{
    ArgumentInfo info;
    info.option = option;
    info.names = names_of(*option);
    info.positional = option->get_positional();
    info.value_name = info.positional ? info.names.front() : std::move(value_name);
    info.description = description;
    infos_.push_back(std::move(info));
    return infos_.back();
}

CLI::Option* Command::argument(const std::string& name, std::string& value, const std::string& description,
                               bool takes_file)
{
    CLI::Option* option = app_->add_option(name, value, description)->required();
    ArgumentInfo& info = add_info(option, name, description);
    info.required = true;
    info.takes_file = takes_file;
    return option;
}

CLI::Option* Command::optional_argument(const std::string& name, std::string& value, const std::string& description,
                                        std::vector<std::string> choices)
{
    CLI::Option* option = app_->add_option(name, value, description);
    if (!choices.empty())
        option->check(choice_check(choices));
    add_info(option, name, description).choices = std::move(choices);
    return option;
}

CLI::Option* Command::arguments(const std::string& name, std::vector<std::string>& values, int min_count,
                                int max_count, const std::string& description)
{
    CLI::Option* option = app_->add_option(name, values, description)->expected(min_count, max_count);
    if (min_count > 0)
        option->required();
    ArgumentInfo& info = add_info(option, name, description);
    info.required = min_count > 0;
    info.min_count = min_count;
    info.max_count = max_count;
    info.takes_file = true;
    return option;
}

CLI::Option* Command::option(const std::string& names, std::string& value, const std::string& value_name,
                             const std::string& description, bool takes_file)
{
    CLI::Option* option = app_->add_option(names, value, description);
    add_info(option, value_name, description).takes_file = takes_file;
    return option;
}

CLI::Option* Command::files_option(const std::string& names, std::vector<std::string>& values, int count,
                                   const std::string& value_name, const std::string& description)
{
    CLI::Option* option = app_->add_option(names, values, description)->expected(count);
    ArgumentInfo& info = add_info(option, value_name, description);
    info.min_count = info.max_count = count;
    info.takes_file = true;
    return option;
}

CLI::Option* Command::choice(const std::string& names, std::string& value, std::vector<std::string> choices,
                             const std::string& description)
{
    CLI::Option* option = app_->add_option(names, value, description)->check(choice_check(choices));
    ArgumentInfo& info = add_info(option, joined(choices, "|"), description);
    info.choices = std::move(choices);
    if (info.positional) {
        option->required();
        info.required = true;
    }
    return option;
}

CLI::Option* Command::whole_number(const std::string& names, int64_t& value, int64_t min, int64_t max,
                                   const std::string& value_name, const std::string& description)
{
    CLI::Option* option = app_->add_option(names, value, description)->check(whole_number_check(min, max));
    add_info(option, value_name, description);
    return option;
}

CLI::Option* Command::real_number(const std::string& names, double& value, RealRange range,
                                  const std::string& value_name, const std::string& description)
{
    // A transform, not a check: the decimal comma it turns into a point is what gets converted.
    CLI::Option* option = app_->add_option(names, value, description)->transform(real_number_check(range));
    add_info(option, value_name, description);
    return option;
}

CLI::Option* Command::flag(const std::string& names, bool& value, const std::string& description)
{
    CLI::Option* option = app_->add_flag(names, value, description);
    ArgumentInfo& info = add_info(option, "", description);
    info.min_count = info.max_count = 0;
    return option;
}

// --- the whole command line ------------------------------------------------------

CommandLine::CommandLine(std::string name, std::string summary, std::string version)
    : name_(std::move(name)), summary_(std::move(summary)), version_(std::move(version))
{
    Command& help_command = add_command(
        "help", "mostra l'aiuto di " + name_ + " o, con il suo nome, di un sottocomando",
        [this]() -> int {
            if (help_topic_.empty()) {
                *out_ << help();
                return exit_status::done;
            }
            const Command* topic = find(help_topic_);
            if (topic == nullptr)
                throw UsageError(unknown_command_message(help_topic_));
            *out_ << help(*topic);
            return exit_status::done;
        },
        false, true);
    help_command.optional_argument("SOTTOCOMANDO", help_topic_, "il sottocomando da descrivere");

    Command& completion = add_command(
        "completion", "scrive lo script che completa in bash i sottocomandi e le opzioni di " + name_,
        [this]() -> int {
            *out_ << bash_completion();
            return exit_status::done;
        },
        false, true);
    completion.choice("SHELL", completion_shell_, {"bash"}, "la shell: bash");
    completion.footer("Per usarlo nella shell corrente: source <(" + name_ +
                      " completion bash); per ogni nuova shell, la stessa riga in ~/.bashrc.");
}

Command& CommandLine::add_command(std::string name, std::string summary, Command::Run run, bool hidden, bool own)
{
    auto command = std::make_unique<Command>(std::move(name), std::move(summary), std::move(run), hidden);
    auto& list = own ? own_ : commands_;
    list.push_back(std::move(command));
    return *list.back();
}

Command& CommandLine::add(std::string name, std::string summary, Command::Run run)
{
    return add_command(std::move(name), std::move(summary), std::move(run), false, false);
}

Command& CommandLine::add_hidden(std::string name, std::string summary, Command::Run run)
{
    return add_command(std::move(name), std::move(summary), std::move(run), true, false);
}

std::vector<const Command*> CommandLine::commands(bool with_hidden) const
{
    std::vector<const Command*> list;
    for (const auto* group : {&commands_, &own_})
        for (const auto& c : *group)
            if (with_hidden || !c->hidden())
                list.push_back(c.get());
    return list;
}

const Command* CommandLine::find(std::string_view name) const
{
    for (const Command* c : commands(true))
        if (c->name() == name)
            return c;
    return nullptr;
}

std::string CommandLine::unknown_command_message(const std::string& typed) const
{
    std::vector<std::string> names;
    for (const Command* c : commands())
        names.push_back(c->name());
    return "sottocomando «" + typed + "» sconosciuto; forse «" + nearest_name(typed, names) + "»?";
}

int CommandLine::usage_error(const std::string& message, const Command* command) const
{
    *err_ << name_ << ": " << message << '\n';
    if (command != nullptr && command->name() != "help")
        *err_ << name_ << ": «" << name_ << " help " << command->name() << "» descrive argomenti e opzioni\n";
    else
        *err_ << name_ << ": «" << name_ << " help» elenca i sottocomandi\n";
    return exit_status::usage;
}

int CommandLine::run(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    out_ = &out;
    err_ = &err;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);

    // Before the subcommand only the tool's own options stand.
    std::size_t first = 0;
    if (first < args.size() && is_option_word(args[first])) {
        const std::string& word = args[first];
        if (word == "-h" || word == "--help") {
            out << help();
            return exit_status::done;
        }
        if (word == "-V" || word == "--version") {
            out << name_ << ' ' << version_ << '\n';
            return exit_status::done;
        }
        return usage_error("opzione «" + word + "» sconosciuta; forse «" +
                               nearest_name(word, {"--help", "--version"}) + "»?",
                           nullptr);
    }
    if (first == args.size()) {
        std::vector<std::string> names;
        for (const Command* c : commands())
            names.push_back(c->name());
        return usage_error("manca il sottocomando, uno tra " + quoted_list(names, " e "), nullptr);
    }
    for (const auto* group : {&commands_, &own_})
        for (const auto& c : *group)
            if (c->name() == args[first])
                return run_command(*c, {args.begin() + 1, args.end()});
    return usage_error(unknown_command_message(args[first]), nullptr);
}

int CommandLine::run_command(Command& command, const std::vector<std::string>& args)
{
    std::vector<std::string> reversed(args.rbegin(), args.rend()); // as the parser takes them
    try {
        command.app().parse(reversed);
    } catch (const CLI::CallForHelp&) {
        *out_ << help(command);
        return exit_status::done;
    } catch (const CLI::CallForAllHelp&) {
        *out_ << help(command);
        return exit_status::done;
    } catch (const CLI::ParseError& e) {
        return usage_error(parse_error_message(e, command), &command);
    }
    try {
        return command.run();
    } catch (const UsageError& e) {
        return usage_error(e.what(), &command);
    } catch (const std::exception& e) {
        *err_ << name_ << ": errore interno (" << e.what() << ")\n";
        return exit_status::failed;
    }
}

} // namespace autore
