// sample-frames [SECONDS [SCENE MODE]]: the benchmark's fixed frames
// (sample-bench's scenes, drawn by the program on the headless host), built
// to WebAssembly and run under Node: one PROFILE line a scene and display
// mode, as sample-bench --profile prints them, for the same frames side by
// side; only SCENE in MODE when they are given, to profile one frame.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixed_scenes.h"
#include "frame_timing.h"
#include "pixels/loop_choice.h"

int main(int argc, char** argv)
{
    bench::TimingPlan plan;
    const std::string onlyScene = argc > 3 ? argv[2] : "";
    const std::string onlyMode = argc > 3 ? argv[3] : "";
    const char* usage = "usage: sample-frames [SECONDS [SCENE MODE]] (SECONDS a repeat, 0.001 to 60)\n";
    if (argc > 4 || argc == 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (argc > 1) {
        char* end = nullptr;
        const double seconds = std::strtod(argv[1], &end);
        if (end == argv[1] || *end != '\0' || !(seconds >= 0.001 && seconds <= 60.0)) {
            std::fputs(usage, stderr);
            return 2;
        }
        plan.secondsPerRepeat = seconds;
    }
    int drawn = 0;
    for (bench::DisplayMode mode : { bench::DisplayMode::Window32, bench::DisplayMode::FullScreen16 }) {
        if (!onlyMode.empty() && onlyMode != bench::ModeName(mode)) continue;
        std::string error;
        if (!bench::OpenProgramDisplay(mode, error)) {
            std::fprintf(stderr, "sample-frames: %s\n", error.c_str());
            return 1;
        }
        for (const bench::FixedScene& scene : bench::BenchScenes()) {
            if (!onlyScene.empty() && onlyScene != scene.name) continue;
            const double ms = bench::MedianMillisecondsPerFrame([&] { bench::DrawProgramFrame(scene); }, plan);
            const int bytesPerPixel = mode == bench::DisplayMode::Window32 ? 4 : 2;
            std::printf("PROFILE scene=%s mode=%s ms=%.3f vectors=%s\n", scene.name, bench::ModeName(mode), ms,
                platform::pixels::VectorSetName(platform::pixels::ChosenLoops(bytesPerPixel).set));
            ++drawn;
        }
        bench::CloseProgramDisplay();
    }
    if (drawn == 0) {
        std::fprintf(stderr, "sample-frames: no scene %s in mode %s\n", onlyScene.c_str(), onlyMode.c_str());
        return 2;
    }
    return 0;
}
