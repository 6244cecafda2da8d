// SPDX-License-Identifier: MIT
// Writes the bash completion of penmoji-render or penmoji, so that it offers exactly the options
// the programs take: the renderer's come from its parser's own table, and what follows an option
// from the value the table names (FILE, OUTDIR, or choices such as text|html|png).
//   make_bash_completion penmoji-render|penmoji OUTPUT
#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "compose/board_limits.h"

namespace {

using penmoji::cli::OptionName;

// The words a value may be: the lower-case alternatives of a metavariable such as
// "auto|N" or "16|18"; upper-case ones only name what to type.
std::string choicesIn(std::string_view metavariable) {
    if (metavariable.find('|') == std::string_view::npos) {
        return {};
    }
    std::string choices;
    std::size_t start = 0;
    while (start <= metavariable.size()) {
        std::size_t bar = metavariable.find('|', start);
        if (bar == std::string_view::npos) {
            bar = metavariable.size();
        }
        const std::string_view word = metavariable.substr(start, bar - start);
        const bool literal = !word.empty() && word.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
                                                  std::string_view::npos;
        if (literal) {
            choices += (choices.empty() ? "" : " ") + std::string(word);
        }
        start = bar + 1;
    }
    return choices;
}

std::string boardNames() {
    std::string names;
    for (const penmoji::BoardProfile& profile : penmoji::boardProfiles()) {
        names += (names.empty() ? "" : " ") + std::string(profile.name);
    }
    return names;
}

// What completes the value of `option`.
std::string valueAction(const OptionName& option) {
    const std::string metavariable(option.value);
    const std::string words = option.name == "--board" ? boardNames() : choicesIn(metavariable);
    if (!words.empty()) {
        return "COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))";
    }
    if (metavariable == "FILE" || metavariable == "IMAGE") {
        return "_penmoji_complete_paths -f";
    }
    if (metavariable == "OUTDIR") {
        return "_penmoji_complete_paths -d";
    }
    // A number or a size: nothing to offer, but no option names either.
    return "COMPREPLY=()";
}

// The case arms completing option values, one for each way, in the order first met.
std::string valueArms(const std::vector<OptionName>& options) {
    std::vector<std::pair<std::string, std::string>> arms;  // action, names
    for (const OptionName& option : options) {
        if (!option.takesValue()) {
            continue;
        }
        const std::string action = valueAction(option);
        auto arm = std::find_if(arms.begin(), arms.end(),
                                [&](const auto& known) { return known.first == action; });
        if (arm == arms.end()) {
            arms.emplace_back(action, std::string(option.name));
        } else {
            arm->second += "|" + std::string(option.name);
        }
    }
    std::string text;
    for (const auto& [action, names] : arms) {
        text += "        " + names + ")\n            " + action + "; return ;;\n";
    }
    return text;
}

std::string script(std::string_view program, const std::vector<OptionName>& options,
                   std::string_view inputPatterns) {
    std::string function = "_" + std::string(program);
    for (char& c : function) {
        c = c == '-' ? '_' : c;
    }
    std::string names;
    for (const OptionName& option : options) {
        names += (names.empty() ? "" : " ") + std::string(option.name);
    }
    const std::string arms = valueArms(options);
    std::string inputs;
    std::istringstream patterns{std::string(inputPatterns)};
    for (std::string pattern; patterns >> pattern;) {
        inputs += "        _penmoji_complete_paths -f -X '!" + pattern + "'\n";
    }
    std::string text = "# bash completion for " + std::string(program) +
                       "; generated from its options at build time.\n\n";
    text +=
        R"(# Adds the files (-f, narrowed by -X PATTERN) or directories (-d) that start with $cur,
# names with blanks kept whole.
_penmoji_complete_paths() {
    local line
    compopt -o filenames 2>/dev/null
    while IFS= read -r line; do COMPREPLY+=("$line"); done < <(compgen "$@" -- "$cur")
}

)";
    text += function + R"(() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=
    [ "$COMP_CWORD" -gt 0 ] && prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()
    case $prev in
)" + arms + R"(    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W ')" +
            names + R"(' -- "$cur"))
    else
)" + inputs +
            R"(        _penmoji_complete_paths -d
    fi
}
complete -F )" +
            function + " " + std::string(program) + "\n";
    return text;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: make_bash_completion penmoji-render|penmoji OUTPUT\n";
        return 2;
    }
    const std::string_view program = argv[1];
    std::string text;
    if (program == "penmoji-render") {
        text = script(program, penmoji::cli::optionNames(), "*.pmj *.PMJ *.svg *.SVG");
    } else if (program == "penmoji") {
        // The editor takes a drawing and these, besides the options every Qt program takes.
        text = script(program, {{"--help"}, {"-h"}, {"--version"}}, "*.pmj *.PMJ");
    } else {
        std::cerr << "make_bash_completion: unknown program " << program << "\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "make_bash_completion: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
