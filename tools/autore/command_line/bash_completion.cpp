// The bash completion script, made from the same declarations as the parser
// and the help: the subcommands, each one's options, the choices an option
// takes, and file names where a path goes.
#include "autore/command_line/command_line.hpp"

#include "autore/command_line/argument_checks.hpp"

namespace autore {

namespace {

// One "case" arm of the option before the word being completed.
std::string value_arm(const ArgumentInfo& info)
{
    const std::string names = joined(info.names, "|");
    if (!info.choices.empty())
        return "            " + names + ") _autore_words \"" + joined(info.choices, " ") + "\"; return 0 ;;\n";
    if (info.takes_file)
        return "            " + names + ") _autore_files; return 0 ;;\n";
    return "            " + names + ") return 0 ;;\n"; // a name or a number: nothing to offer
}

std::string command_arm(const Command& command, const std::string& subcommands)
{
    std::vector<std::string> options;
    std::string value_arms;
    std::string choices; // of its positional argument, if it has one
    for (const ArgumentInfo& info : command.arguments_info()) {
        if (info.positional) {
            if (!info.choices.empty())
                choices = joined(info.choices, " ");
            continue;
        }
        options.insert(options.end(), info.names.begin(), info.names.end());
        if (!info.value_name.empty())
            value_arms += value_arm(info);
    }
    options.insert(options.end(), {"-h", "--help"});
    if (command.name() == "help")
        choices = subcommands;
    std::string arm = "    " + command.name() + ")\n";
    if (!value_arms.empty())
        arm += "        case $prev in\n" + value_arms + "        esac\n";
    arm += "        if [[ $cur == -* ]]; then _autore_words \"" + joined(options, " ") + "\"; ";
    arm += choices.empty() ? "else _autore_files; fi\n" : "else _autore_words \"" + choices + "\"; fi\n";
    arm += "        ;;\n";
    return arm;
}

} // namespace

std::string CommandLine::bash_completion() const
{
    std::vector<std::string> names;
    for (const Command* c : commands())
        names.push_back(c->name());
    const std::string subcommands = joined(names, " ");
    const std::string f = "_" + name_;
    std::string s;
    s += "# Completamento di " + name_ + " per bash, scritto da «" + name_ + " completion bash».\n";
    s += "# Per la shell corrente: source <(" + name_ + " completion bash)\n";
    s += "_autore_words() { mapfile -t COMPREPLY < <(compgen -W \"$1\" -- \"$cur\"); }\n";
    s += "_autore_files() { compopt -o filenames 2>/dev/null; mapfile -t COMPREPLY < <(compgen -f -- \"$cur\"); }\n";
    s += f + "() {\n";
    s += "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} sub= i\n";
    s += "    COMPREPLY=()\n";
    s += "    for ((i = 1; i < COMP_CWORD; i++)); do\n";
    s += "        case ${COMP_WORDS[i]} in -*) ;; *) sub=${COMP_WORDS[i]}; break ;; esac\n";
    s += "    done\n";
    s += "    case $sub in\n";
    s += "    '') _autore_words \"" + subcommands + " --help --version\" ;;\n";
    for (const Command* c : commands())
        s += command_arm(*c, subcommands);
    s += "    esac\n";
    s += "    return 0\n";
    s += "}\n";
    s += "complete -F " + f + " " + name_ + "\n";
    return s;
}

} // namespace autore
