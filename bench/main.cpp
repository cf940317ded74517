// sample-bench: the program's real frame against an SDL2 program drawing
// the same frame, and against the memory traffic the frame cannot avoid.
// Run it in the folder with the pictures (build/run).
//
//   sample-bench [--seconds S] [--repeats N]   the frame benchmark
//   sample-bench --smoke                       the same, a moment per scene
//   sample-bench --window S                    the real window, the SDL2 peer drawing the same frame into
//                                              one, and a bare SDL2 loop presenting one (needs a desktop)
//   sample-bench --memory                      peak memory of sample-replay
//   sample-bench --profile SCENE MODE          the program's frames alone, for perf
//   any of them with --vectors avx512|avx2|sse2|portable and --stores masked|blend to hold the
//   pixel loops to that set and way of storing partly keyed vectors, --presenting ordinary|streaming
//   to hold the presentations' stores
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "fixed_scenes.h"
#include "frame_timing.h"
#include "machine.h"
#include "memory_run.h"
#include "sdl_peer.h"
#include "window_peer.h"
#include "window_run.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr size_t kFramePixels = 640 * 480;

struct Options {
    enum class Task { Frames, Window, Memory, Profile } task = Task::Frames;
    bench::TimingPlan plan;
    double windowSeconds = 5.0;
    bool smoke = false;
    std::string profileScene;
    bench::DisplayMode profileMode = bench::DisplayMode::Window32;
};

bool ParseMode(const std::string& name, bench::DisplayMode& mode)
{
    for (bench::DisplayMode candidate : { bench::DisplayMode::Window32, bench::DisplayMode::FullScreen16 })
        if (name == bench::ModeName(candidate)) {
            mode = candidate;
            return true;
        }
    return false;
}

const bench::FixedScene* FindScene(const std::string& name)
{
    for (const bench::FixedScene& scene : bench::BenchScenes())
        if (name == scene.name) return &scene;
    return nullptr;
}

bool ParseNumber(const char* text, double low, double high, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        double value = 0.0;
        if (option == "--smoke") {
            options.smoke = true;
            options.plan = { 0.01, 0.05, 1 };
        } else if (option == "--memory") {
            options.task = Options::Task::Memory;
        } else if (option == "--seconds" && hasValue && ParseNumber(argv[i + 1], 0.001, 60.0, value)) {
            options.plan.secondsPerRepeat = value;
            ++i;
        } else if (option == "--repeats" && hasValue && ParseNumber(argv[i + 1], 1, 99, value)) {
            options.plan.repeats = int(value);
            ++i;
        } else if (option == "--window" && hasValue && ParseNumber(argv[i + 1], 0.1, 600.0, value)) {
            options.task = Options::Task::Window;
            options.windowSeconds = value;
            ++i;
        } else if (option == "--vectors" && hasValue && bench::UseVectorSet(argv[i + 1])) {
            ++i;
        } else if (option == "--stores" && hasValue && bench::UseStoreMethod(argv[i + 1])) {
            ++i;
        } else if (option == "--presenting" && hasValue && bench::UsePresentationStores(argv[i + 1])) {
            ++i;
        } else if (option == "--profile" && i + 2 < argc && FindScene(argv[i + 1]) != nullptr
            && ParseMode(argv[i + 2], options.profileMode)) {
            options.task = Options::Task::Profile;
            options.profileScene = argv[i + 1];
            i += 2;
        } else {
            error = "bad option or value: " + option;
            return false;
        }
    }
    return true;
}

struct SceneFigures {
    std::string scene;
    std::string mode;
    double programMs = 0.0;
    double peerMs = 0.0;
    double floorMs = 0.0;
    uint64_t bytes = 0;
    double fairFloorMs = 0.0;
    uint64_t fairBytes = 0;
};

struct ZoomFigures {
    std::string mode;
    int size = 0;
    double programMs = 0.0;
};

// Program, peer and floor for every scene in one display mode.
bool MeasureMode(bench::DisplayMode mode, const Options& options, std::vector<SceneFigures>& scenes,
    std::vector<ZoomFigures>& zooms, std::string& error)
{
    if (!bench::OpenProgramDisplay(mode, error)) return false;
    bench::CaptionLayer caption;
    if (!bench::RenderCaptionLayer(caption)) {
        error = "the caption cannot be drawn";
        return false;
    }
    bench::SdlPeer peer;
    if (!peer.Open(mode, caption, error)) return false;
    const double bandwidthSeconds = options.smoke ? 0.02 : 0.5;

    for (const bench::FixedScene& scene : bench::BenchScenes()) {
        SceneFigures figures { scene.name, bench::ModeName(mode) };
        figures.programMs = bench::MedianMillisecondsPerFrame([&] { bench::DrawProgramFrame(scene); }, options.plan);
        figures.peerMs = bench::MedianMillisecondsPerFrame([&] { peer.DrawFrame(scene); }, options.plan);
        figures.bytes = peer.MeasureFrame(scene).Total();
        const double bandwidth = bench::CopyBandwidth(peer.WorkingSetBytes(scene), bandwidthSeconds);
        figures.floorMs = bench::FloorMilliseconds(figures.bytes, bandwidth);
        // The fair floor: the back buffer written and read once, each
        // visible source pixel read once, the screen written once.
        const uint64_t frameBytes = uint64_t(kFramePixels) * uint64_t(bench::BytesPerPixel(mode));
        const uint64_t sourceBytes = peer.VisibleSourceBytes(scene);
        figures.fairBytes = 3 * frameBytes + sourceBytes;
        const double fairBandwidth
            = bench::CopyBandwidthAsPresented(2 * frameBytes + sourceBytes, bandwidthSeconds, size_t(frameBytes));
        figures.fairFloorMs = bench::FloorMilliseconds(figures.fairBytes, fairBandwidth);
        scenes.push_back(figures);
    }
    // The sweep needs many sizes more than long runs of each.
    bench::TimingPlan sweepPlan = options.plan;
    sweepPlan.secondsPerRepeat = std::min(sweepPlan.secondsPerRepeat, 0.5);
    sweepPlan.repeats = std::min(sweepPlan.repeats, 3);
    for (int size = 0; size <= 480; size += options.smoke ? 480 : 60) {
        const bench::FixedScene scene = bench::ZoomScene(size);
        zooms.push_back({ bench::ModeName(mode), size,
            bench::MedianMillisecondsPerFrame([&] { bench::DrawProgramFrame(scene); }, sweepPlan) });
    }
    bench::CloseProgramDisplay();
    return true;
}

void PrintSceneTable(const std::vector<SceneFigures>& scenes)
{
    std::printf("%-11s %-9s %11s %9s %9s %8s %9s %8s %13s %12s %10s\n", "scene", "mode", "program ms", "peer ms",
        "floor ms", "MB", "F2 ms", "F2 MB", "peer/program", "program/floor", "program/F2");
    for (const SceneFigures& row : scenes)
        std::printf("%-11s %-9s %11.3f %9.3f %9.3f %8.2f %9.3f %8.2f %12.2fx %12.2fx %9.2fx\n", row.scene.c_str(),
            row.mode.c_str(), row.programMs, row.peerMs, row.floorMs, double(row.bytes) / 1e6, row.fairFloorMs,
            double(row.fairBytes) / 1e6, row.peerMs / row.programMs, row.programMs / row.floorMs,
            row.programMs / row.fairFloorMs);
}

// Least squares of ms over zoomed pixels, per mode: the cost of a zoomed
// pixel, and how far any size lies from the line.
struct LineFit {
    double msPerPixel = 0.0;
    double baseMs = 0.0;
    double worstMs = 0.0;
};

LineFit FitLine(const std::vector<ZoomFigures>& zooms, const std::string& mode)
{
    double n = 0, sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (const ZoomFigures& row : zooms) {
        if (row.mode != mode) continue;
        const double x = double(row.size) * row.size;
        n += 1;
        sumX += x;
        sumY += row.programMs;
        sumXX += x * x;
        sumXY += x * row.programMs;
    }
    LineFit fit;
    const double spread = n * sumXX - sumX * sumX;
    if (n < 2 || spread <= 0) return fit;
    fit.msPerPixel = (n * sumXY - sumX * sumY) / spread;
    fit.baseMs = (sumY - fit.msPerPixel * sumX) / n;
    for (const ZoomFigures& row : zooms)
        if (row.mode == mode)
            fit.worstMs = std::max(
                fit.worstMs, std::abs(row.programMs - (fit.baseMs + fit.msPerPixel * double(row.size) * row.size)));
    return fit;
}

void PrintZoomTable(const std::vector<ZoomFigures>& zooms)
{
    std::printf("\nzoom sweep (background and zoom only):\n%-9s %6s %10s %11s %10s\n", "mode", "size", "pixels",
        "program ms", "line ms");
    for (const char* mode : { "window32", "full16" }) {
        const LineFit fit = FitLine(zooms, mode);
        for (const ZoomFigures& row : zooms)
            if (row.mode == mode) {
                const double pixels = double(row.size) * row.size;
                std::printf("%-9s %6d %10.0f %11.3f %10.3f\n", mode, row.size, pixels, row.programMs,
                    fit.baseMs + fit.msPerPixel * pixels);
            }
        std::printf("%-9s line: %.3f ms + %.3f ns per zoomed pixel; no size more than %.3f ms off it\n", mode,
            fit.baseMs, fit.msPerPixel * 1e6, fit.worstMs);
    }
}

int RunFrames(const Options& options)
{
    std::vector<SceneFigures> scenes;
    std::vector<ZoomFigures> zooms;
    for (bench::DisplayMode mode : { bench::DisplayMode::Window32, bench::DisplayMode::FullScreen16 }) {
        std::string error;
        if (!MeasureMode(mode, options, scenes, zooms, error)) {
            std::fprintf(stderr, "sample-bench: %s: %s\n", bench::ModeName(mode), error.c_str());
            return 1;
        }
    }
    std::printf("processor: %s; %s\n", bench::ProcessorName().c_str(), bench::ChosenMethods().c_str());
    std::printf("loop trials: %s\n", bench::LoopTrialTimes().c_str());
    std::printf("median of %d repeats of %.2f s each, after %.2f s of warm-up\n\n", options.plan.repeats,
        options.plan.secondsPerRepeat, options.plan.warmUpSeconds);
    PrintSceneTable(scenes);
    PrintZoomTable(zooms);
    std::printf("\n");
    for (const SceneFigures& row : scenes)
        std::printf("RESULT scene=%s mode=%s ms=%.3f peer_ms=%.3f floor_ms=%.3f fair_floor_ms=%.3f\n",
            row.scene.c_str(), row.mode.c_str(), row.programMs, row.peerMs, row.floorMs, row.fairFloorMs);
    return 0;
}

int RunWindow(const Options& options)
{
    bench::WindowFigures figures;
    if (!bench::RunRealWindow(options.windowSeconds, figures)) {
        std::fprintf(
            stderr, "sample-bench: no desktop to open a window on (run it under xvfb-run or a Wayland compositor)\n");
        return 1;
    }
    std::printf("processor: %s; %s\n", bench::ProcessorName().c_str(), bench::ChosenMethods().c_str());
    std::printf(
        "real window (%s), all effects on, %.2f s: %d frames, %.1f frames/s, %.3f ms/frame, %.1f%% presenting\n",
        figures.driver.c_str(), figures.seconds, figures.frames, figures.FramesPerSecond(),
        figures.frames > 0 ? figures.seconds * 1000.0 / figures.frames : 0.0, figures.PresentShare() * 100.0);
    double peerFramesPerSecond = 0.0;
    if (!bench::RunBareSdlWindow(options.windowSeconds, peerFramesPerSecond)) {
        std::fprintf(stderr, "sample-bench: the bare SDL2 window could not present\n");
        return 1;
    }
    std::printf("bare SDL2 window presenting a 640 by 480 surface, %.2f s: %.1f frames/s\n", options.windowSeconds,
        peerFramesPerSecond);
    double peerFrameFramesPerSecond = 0.0;
    std::string error;
    if (!bench::RunSdlFrameWindow(options.windowSeconds, peerFrameFramesPerSecond, error)) {
        std::fprintf(stderr, "sample-bench: %s\n", error.c_str());
        return 1;
    }
    std::printf("SDL2 peer drawing the all-effects frame into the window, %.2f s: %.1f frames/s\n",
        options.windowSeconds, peerFrameFramesPerSecond);
    std::printf("RESULT window driver=%s fps=%.1f peer_frame_fps=%.1f peer_fps=%.1f presenting=%.3f exit=%d\n",
        figures.driver.c_str(), figures.FramesPerSecond(), peerFrameFramesPerSecond, peerFramesPerSecond,
        figures.PresentShare(), figures.exitCode);
    return figures.frames > 0 && figures.exitCode == 0 ? 0 : 1;
}

std::string ReplayBesideUs()
{
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    return (self.parent_path() / "sample-replay").string();
}

int RunMemory()
{
    const std::string replay = ReplayBesideUs();
    std::vector<bench::MemoryFigures> runs;
    for (long frames : { 1000L, 10000L, 100000L }) {
        bench::MemoryFigures figures;
        std::string error;
        if (!bench::MeasureReplayMemory(replay, frames, figures, error)) {
            std::fprintf(stderr, "sample-bench: %s\n", error.c_str());
            return 1;
        }
        std::printf(
            "MEMORY frames=%ld peak_kib=%ld seconds=%.1f\n", figures.frames, figures.peakKibibytes, figures.seconds);
        std::fflush(stdout);
        runs.push_back(figures);
    }
    std::printf(
        "MEMORY growth_kib=%ld from 1000 to 100000 frames\n", runs.back().peakKibibytes - runs.front().peakKibibytes);
    return 0;
}

int RunProfile(const Options& options)
{
    std::string error;
    if (!bench::OpenProgramDisplay(options.profileMode, error)) {
        std::fprintf(stderr, "sample-bench: %s\n", error.c_str());
        return 1;
    }
    const bench::FixedScene& scene = *FindScene(options.profileScene);
    const double ms = bench::MedianMillisecondsPerFrame([&] { bench::DrawProgramFrame(scene); }, options.plan);
    const int bytes = bench::BytesPerPixel(options.profileMode);
    std::printf("PROFILE scene=%s mode=%s ms=%.3f vectors=%s method=%s stores=%s\n", scene.name,
        bench::ModeName(options.profileMode), ms, bench::VectorSetName(bytes), bench::KeyedStoresName(bytes),
        bench::ChosenPresentationStoresName(kFramePixels * size_t(bytes)));
    bench::CloseProgramDisplay();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr,
            "sample-bench: %s\nusage: sample-bench [--smoke] [--seconds S] [--repeats N] | --window S | --memory | "
            "--profile SCENE MODE; any with --vectors avx512|avx2|sse2|portable, --stores masked|blend, "
            "--presenting ordinary|streaming\n",
            error.c_str());
        return kUsageStatus;
    }
    switch (options.task) {
    case Options::Task::Window:
        return RunWindow(options);
    case Options::Task::Memory:
        return RunMemory();
    case Options::Task::Profile:
        return RunProfile(options);
    default:
        return RunFrames(options);
    }
}
