// sample-replay [SCRIPT]: the program on the headless host, driven by a
// replay script from SCRIPT or standard input. Standard output carries only
// the run's lines; problems go to standard error.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "printable_text.h"
#include "replay_run.h"
#include "script_input.h"

namespace {

constexpr int kBadScriptStatus = 2;

bool ReadScript(int argc, char** argv, std::string& text, std::string& error)
{
    if (argc >= 2) return replay::ReadScriptFile(argv[1], text, error);
    if (replay::ReadScriptFrom(STDIN_FILENO, text, error)) return true;
    error = "cannot read the script from standard input: " + error;
    return false;
}

// The first error met writing standard output; the run goes on, but its
// lines are incomplete and its result is spoilt.
int outputError = 0;

void PrintLine(const std::string& line)
{
    bool written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fputc('\n', stdout) != EOF
        && std::fflush(stdout) == 0;
    if (!written && outputError == 0) outputError = errno != 0 ? errno : EIO;
}

bool OutputComplete()
{
    if (std::fflush(stdout) != 0 && outputError == 0) outputError = errno != 0 ? errno : EIO;
    return outputError == 0;
}

// Messages quote the script and name files; whatever they hold reaches the
// terminal escaped, and a line stays readable.
constexpr size_t kMessageCharacters = 400;

int Fail(const std::string& message)
{
    std::string shown = replay::PrintableText(message, kMessageCharacters);
    std::fprintf(stderr, "sample-replay: %s\n", shown.c_str());
    return kBadScriptStatus;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2)
        return Fail("usage: sample-replay [SCRIPT] (a script of at most " + replay::ScriptLimitText()
            + "; without SCRIPT, standard input)");
    // A file size limit then fails the write, which is reported, instead of
    // killing the run half way.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string script;
    std::string error;
    if (!ReadScript(argc, argv, script, error)) return Fail(error);

    replay::Result result;
    if (!replay::Run(script, result, error, PrintLine)) return Fail(error);
    for (const std::string& problem : result.errors)
        Fail(problem);
    bool spoilt = !result.errors.empty();
    if (!OutputComplete()) {
        Fail(std::string("cannot write standard output: ") + std::strerror(outputError));
        spoilt = true;
    }
    return spoilt ? kBadScriptStatus : result.exitCode;
}
