#include "memory_run.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

std::string AllEffectsScript(long frames)
{
    std::string script = "# every effect on, then frames of 16 ms\n"
                         "menu 40006\nmenu 40007\nmenu 40010\nmenu 40009\nmenu 40015\nmenu 40008\n"
                         "mouse 270 180\n";
    script += "frame " + std::to_string(frames) + " 16\n";
    return script;
}

bool MeasureReplayMemory(const std::string& replay, long frames, MemoryFigures& figures, std::string& error)
{
    const std::filesystem::path scriptPath
        = std::filesystem::temp_directory_path() / ("sample-bench-" + std::to_string(getpid()) + ".script");
    {
        std::ofstream script(scriptPath);
        script << AllEffectsScript(frames);
        if (!script) {
            error = "cannot write " + scriptPath.string();
            return false;
        }
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string scriptArgument = scriptPath.string();
    char* argv[] = { const_cast<char*>(replay.c_str()), const_cast<char*>(scriptArgument.c_str()), nullptr };
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, replay.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::filesystem::remove(scriptPath);
        error = "cannot run " + replay;
        return false;
    }
    int status = 0;
    rusage usage {};
    const pid_t waited = wait4(child, &status, 0, &usage);
    figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove(scriptPath);
    if (waited != child) {
        error = "lost the child process";
        return false;
    }
    figures.frames = frames;
    figures.peakKibibytes = usage.ru_maxrss;
    figures.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (figures.exitStatus != 0) {
        error = replay + " ended with status " + std::to_string(figures.exitStatus);
        return false;
    }
    return true;
}

} // namespace bench
