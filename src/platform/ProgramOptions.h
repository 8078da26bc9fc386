#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// Stores the value of an option or an operand; throws EVorlixError with a text for the operator
// when the value is wrong. Switches receive an empty value.
using TTakeArgument = std::function<void(const std::string& value)>;

// One option of a program's command line: a switch ("--check") or, with an argument name, an option
// that takes a value ("--port PORT" or "--port=PORT").
struct TProgramOption {
    std::string Name;
    std::string Argument;
    // One line of the usage text; more lines with "\n".
    std::string Help;
    TTakeArgument Take;
};

// A word of the command line that is not an option, such as the configuration directory.
struct TProgramOperand {
    std::string Name;
    TTakeArgument Take;
};

// Everything a program accepts on its command line, in the order its usage lists it. --help (also
// -h) and --version come with every program. Options may stand before, between or after the
// operands; "--" ends the options.
struct TProgramOptions {
    std::string Program;
    // What the program does, shown under the usage line.
    std::string Summary;
    // Each is required, in this order.
    std::vector<TProgramOperand> Operands;
    std::vector<TProgramOption> Options;
};

// Takers for the common kinds of option.
TTakeArgument SetFlag(bool& flag);
TTakeArgument SetText(std::string& text);

enum class TProgramRequest { Run, Help, Version, Wrong };

struct TParsedArguments {
    TProgramRequest Request = TProgramRequest::Run;
    // What is wrong with the command line, for TProgramRequest::Wrong.
    std::string Problem;
};

// Reads the arguments (without the program name), handing each value to its taker.
TParsedArguments ParseProgramArguments(const TProgramOptions& options,
                                       const std::vector<std::string>& arguments);

std::string ProgramUsage(const TProgramOptions& options);
// The program's name and the project's version.
std::string ProgramVersion(const TProgramOptions& options);

// The exit status of a program asked for --help or --version (0) or given a wrong command line (2).
int ExitStatus(TProgramRequest request);

// Parses main's arguments and answers what the program need not run for: the usage or the version
// on `out`, or the problem and the usage on `error`. Answers the exit status then, or nothing when
// the program should run.
std::optional<int> AnswerProgramArguments(const TProgramOptions& options, int argc, const char* const* argv,
                                          std::ostream& out, std::ostream& error);
