#include "platform/ProgramOptions.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <algorithm>
#include <ostream>

namespace {

const TProgramOption HelpOption{"-h, --help", "", "Show this help and exit", {}};
const TProgramOption VersionOption{"--version", "", "Show the version and exit", {}};

TParsedArguments Wrong(const std::string& problem) {
    return {TProgramRequest::Wrong, problem};
}

// A lone "-" is an operand, as it names standard input by custom.
bool IsOption(const std::string& word) {
    return word.size() > 1 && word.front() == '-';
}

const TProgramOption* FindOption(const TProgramOptions& options, const std::string& name) {
    const auto found = std::find_if(options.Options.begin(), options.Options.end(),
                                    [&name](const TProgramOption& option) { return option.Name == name; });
    return found == options.Options.end() ? nullptr : &*found;
}

std::string OptionColumn(const TProgramOption& option) {
    return option.Argument.empty() ? option.Name : option.Name + " " + option.Argument;
}

// The option's help beside its name, further help lines under the first.
std::string OptionLines(const TProgramOption& option, std::size_t width) {
    std::string lines = "  " + OptionColumn(option);
    lines.append(width - OptionColumn(option).size(), ' ');
    for (const char c : option.Help) {
        lines += c;
        if (c == '\n') {
            lines.append(2 + width, ' ');
        }
    }
    return lines + "\n";
}

} // namespace

TTakeArgument SetFlag(bool& flag) {
    return [&flag](const std::string&) { flag = true; };
}

TTakeArgument SetText(std::string& text) {
    return [&text](const std::string& value) { text = value; };
}

TParsedArguments ParseProgramArguments(const TProgramOptions& options,
                                       const std::vector<std::string>& arguments) {
    std::size_t operand = 0;
    bool optionsEnded = false;
    try {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string& word = arguments[i];
            if (optionsEnded || !IsOption(word)) {
                if (operand == options.Operands.size()) {
                    return Wrong(SprintF("Unexpected argument %s", word));
                }
                options.Operands[operand++].Take(word);
                continue;
            }
            const std::size_t equals = word.find('=');
            const std::string name = word.substr(0, equals);
            if (name == "--") {
                optionsEnded = true;
            } else if (name == "--help" || name == "-h") {
                return {TProgramRequest::Help, {}};
            } else if (name == "--version") {
                return {TProgramRequest::Version, {}};
            } else if (const TProgramOption* option = FindOption(options, name); !option) {
                return Wrong(SprintF("Unknown option %s", name));
            } else if (option->Argument.empty()) {
                if (equals != std::string::npos) {
                    return Wrong(SprintF("%s takes no value", name));
                }
                option->Take({});
            } else if (equals != std::string::npos) {
                option->Take(word.substr(equals + 1));
            } else if (i + 1 < arguments.size()) {
                option->Take(arguments[++i]);
            } else {
                return Wrong(SprintF("%s needs a value", name));
            }
        }
    } catch (const EVorlixError& error) {
        return Wrong(error.what());
    }
    if (operand < options.Operands.size()) {
        return Wrong(SprintF("%s is missing", options.Operands[operand].Name));
    }
    return {};
}

std::string ProgramUsage(const TProgramOptions& options) {
    std::string usage = "Usage: " + options.Program + " [OPTION]...";
    for (const TProgramOperand& operand : options.Operands) {
        usage += " " + operand.Name;
    }
    usage += "\n" + options.Summary + "\n\nOptions:\n";
    std::vector<TProgramOption> listed = options.Options;
    listed.push_back(HelpOption);
    listed.push_back(VersionOption);
    std::size_t width = 0;
    for (const TProgramOption& option : listed) {
        width = std::max(width, OptionColumn(option).size() + 2);
    }
    for (const TProgramOption& option : listed) {
        usage += OptionLines(option, width);
    }
    return usage;
}

std::string ProgramVersion(const TProgramOptions& options) {
    return options.Program + " " VORLIX_VERSION "\n";
}

int ExitStatus(TProgramRequest request) {
    return request == TProgramRequest::Wrong ? 2 : 0;
}

std::optional<int> AnswerProgramArguments(const TProgramOptions& options, int argc, const char* const* argv,
                                          std::ostream& out, std::ostream& error) {
    const TParsedArguments parsed =
        ParseProgramArguments(options, std::vector<std::string>(argv + 1, argv + argc));
    switch (parsed.Request) {
    case TProgramRequest::Run:
        return std::nullopt;
    case TProgramRequest::Help:
        out << ProgramUsage(options);
        break;
    case TProgramRequest::Version:
        out << ProgramVersion(options);
        break;
    case TProgramRequest::Wrong:
        error << options.Program << ": " << parsed.Problem << "\n" << ProgramUsage(options);
        break;
    }
    out.flush();
    error.flush();
    return ExitStatus(parsed.Request);
}
