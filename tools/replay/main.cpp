// sample-replay [SCRIPT]: the program on the headless host, driven by a
// replay script from SCRIPT or standard input. Standard output carries only
// the run's lines; problems go to standard error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "printable_text.h"
#include "replay_run.h"

namespace {

constexpr int kBadScriptStatus = 2;

bool ReadAll(std::istream& in, std::string& text)
{
    std::ostringstream contents;
    contents << in.rdbuf();
    text = contents.str();
    return !in.bad();
}

bool ReadScript(int argc, char** argv, std::string& text, std::string& error)
{
    if (argc < 2) {
        if (ReadAll(std::cin, text)) return true;
        error = "cannot read the script from standard input";
        return false;
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(argv[1], ignored)) {
        error = std::string("cannot read ") + argv[1] + ": it is a directory";
        return false;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        error = std::string("cannot read ") + argv[1] + ": " + std::strerror(errno);
        return false;
    }
    if (ReadAll(file, text)) return true;
    error = std::string("cannot read ") + argv[1];
    return false;
}

void PrintLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Messages quote the script and name files; whatever they hold reaches the
// terminal escaped, and a line stays readable.
constexpr size_t kMessageCharacters = 300;

int Fail(const std::string& message)
{
    std::string shown = replay::PrintableText(message, kMessageCharacters);
    std::fprintf(stderr, "sample-replay: %s\n", shown.c_str());
    return kBadScriptStatus;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) return Fail("usage: sample-replay [SCRIPT]");
    std::string script;
    std::string error;
    if (!ReadScript(argc, argv, script, error)) return Fail(error);

    replay::Result result;
    if (!replay::Run(script, result, error, PrintLine)) return Fail(error);
    for (const std::string& problem : result.errors)
        Fail(problem);
    return result.errors.empty() ? result.exitCode : kBadScriptStatus;
}
