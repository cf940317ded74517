// sample-rc [-I DIR]... SCRIPT.rc OUTPUT.cpp: compiles the program's
// resource script into the C++ resource table of common/resources.h.
#include "rc_error.h"
#include "resource_compiler.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Arguments {
    std::vector<std::string> searchDirs;
    std::vector<std::string> files;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-I" && i + 1 < argc) {
            arguments.searchDirs.push_back(argv[++i]);
        } else if (arg.starts_with("-I") && arg.size() > 2) {
            arguments.searchDirs.push_back(arg.substr(2));
        } else if (arg.starts_with("-")) {
            return false;
        } else {
            arguments.files.push_back(arg);
        }
    }
    return arguments.files.size() == 2;
}

// Written beside the target and renamed, so a failed run never leaves a
// half-written table for the build to compile.
bool WriteOutput(const std::string& path, const std::string& text)
{
    std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: %s [-I DIR]... SCRIPT.rc OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    try {
        std::string table = rc::CompileScriptFile(arguments.files[0], arguments.searchDirs);
        if (!WriteOutput(arguments.files[1], table)) {
            std::fprintf(stderr, "sample-rc: cannot write %s\n", arguments.files[1].c_str());
            return 1;
        }
    } catch (const rc::RcError& error) {
        std::fprintf(stderr, "sample-rc: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sample-rc: internal error: %s\n", error.what());
        return 1;
    }
    return 0;
}
