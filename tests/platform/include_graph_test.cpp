// platform/ is a stack: each folder includes only folders below it, and no
// file includes itself round a circle. Read from the sources' #include lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The stack, top first: the one place its order is written. include/ (the
// Win32 declarations every layer implements) is included by angle brackets
// and is no layer. The hosts under host/ see only the seam and common/.
const std::vector<std::string> kLayers
    = { "testing", "dsound", "ddraw", "user", "gdi", "screens", "compose", "pixels", "host", "common" };
const std::vector<std::string> kHosts = { "host/sdl", "host/headless", "host/web" };

// The folder a file of platform/ lies in ("ddraw", "host/sdl"), or nullopt
// for a folder the stack does not know.
std::optional<std::string> FolderOf(const std::string& path)
{
    for (const std::string& host : kHosts)
        if (path.rfind(host + "/", 0) == 0) return host;
    const std::string top = path.substr(0, path.find('/'));
    if (path.find('/') == std::string::npos) return std::nullopt;
    if (top == "host" && path.find('/', 5) != std::string::npos) return std::nullopt; // an unknown host
    if (std::find(kLayers.begin(), kLayers.end(), top) == kLayers.end()) return std::nullopt;
    return top;
}

size_t Depth(const std::string& layer)
{
    return size_t(std::find(kLayers.begin(), kLayers.end(), layer) - kLayers.begin());
}

// Whether a file in folder `from` may include one in folder `to`.
bool MayInclude(const std::string& from, const std::string& to)
{
    if (from == to) return true;
    const bool fromHost = std::find(kHosts.begin(), kHosts.end(), from) != kHosts.end();
    const bool toHost = std::find(kHosts.begin(), kHosts.end(), to) != kHosts.end();
    if (fromHost) return to == "host" || to == "common";
    // Only the test door reaches into a host.
    if (toHost) return from == "testing" && to == "host/headless";
    return Depth(to) > Depth(from);
}

// The executables' main files wire a host to the rest and may include anything.
bool IsMainFile(const std::string& path) { return fs::path(path).filename() == "main.cpp"; }

struct Include {
    std::string file; // relative to platform/
    std::string included; // as written between the quotes
};

std::vector<std::string> SourcesUnder(const fs::path& root)
{
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
            files.push_back(fs::relative(entry.path(), root).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<Include> QuotedIncludes(const fs::path& root, const std::string& file)
{
    static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Include> includes;
    std::ifstream in(root / file);
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_search(line, match, kInclude)) includes.push_back({ file, match[1] });
    return includes;
}

// "a includes b" for each include that breaks the stack.
std::vector<std::string> LayerBreaches(const std::vector<Include>& includes)
{
    std::vector<std::string> breaches;
    for (const Include& include : includes) {
        if (IsMainFile(include.file)) continue;
        const std::optional<std::string> from = FolderOf(include.file);
        const std::optional<std::string> to = FolderOf(include.included);
        if (!from || !to) {
            breaches.push_back(include.file + " includes " + include.included + ": a folder the stack does not list");
            continue;
        }
        if (!MayInclude(*from, *to)) breaches.push_back(include.file + " includes " + include.included);
    }
    return breaches;
}

// The first circle of files found, as "a -> b -> a", or empty.
std::string FirstCircle(const std::vector<Include>& includes)
{
    std::map<std::string, std::vector<std::string>> edges;
    for (const Include& include : includes)
        edges[include.file].push_back(include.included);
    std::map<std::string, int> state; // 1 on the path, 2 done
    std::vector<std::string> path;
    std::string circle;
    auto visit = [&](auto&& self, const std::string& file) -> bool {
        state[file] = 1;
        path.push_back(file);
        for (const std::string& next : edges[file]) {
            if (state[next] == 1) {
                for (auto at = std::find(path.begin(), path.end(), next); at != path.end(); ++at)
                    circle += *at + " -> ";
                circle += next;
                return true;
            }
            if (state[next] == 0 && self(self, next)) return true;
        }
        path.pop_back();
        state[file] = 2;
        return false;
    };
    for (const auto& [file, targets] : edges)
        if (state[file] == 0 && visit(visit, file)) return circle;
    return {};
}

TEST(IncludeGraphTest, EveryFolderOfPlatformIncludesOnlyFoldersBelowIt)
{
    const fs::path root = fs::path(SAMPLE_SOURCE_DIR) / "platform";
    std::vector<Include> includes;
    for (const std::string& file : SourcesUnder(root)) {
        if (file.rfind("include/", 0) == 0) continue;
        const std::vector<Include> found = QuotedIncludes(root, file);
        includes.insert(includes.end(), found.begin(), found.end());
    }
    ASSERT_GT(includes.size(), 100u) << "the sources were not found under " << root;
    const std::vector<std::string> breaches = LayerBreaches(includes);
    EXPECT_TRUE(breaches.empty()) << "the stack is broken: " << ::testing::PrintToString(breaches);
    EXPECT_EQ(FirstCircle(includes), "");
}

TEST(IncludeGraphTest, TheRulesCatchWhatWouldBreakTheStack)
{
    // Upwards, sideways between hosts, a host past the seam, an unknown folder.
    const std::vector<Include> bad = {
        { "user/menu_loop.cpp", "ddraw/surface.h" },
        { "host/sdl/sdl_host.cpp", "host/web/page.h" },
        { "host/headless/headless_host.cpp", "user/window_list.h" },
        { "host/web/web_host.cpp", "screens/full_screen.h" },
        { "pixels/loops.cpp", "compose/blit_queue.h" },
        { "gdi/objects.cpp", "shiny/new.h" },
    };
    EXPECT_EQ(LayerBreaches(bad).size(), bad.size());
    // Downwards, the seam, the test door and the executables' main files.
    const std::vector<Include> good = {
        { "ddraw/surface_blt.cpp", "user/client_area.h" },
        { "user/menu_loop.cpp", "screens/full_screen.h" },
        { "host/sdl/sdl_host.cpp", "host/letterbox.h" },
        { "host/web/web_host.cpp", "common/rgb565.h" },
        { "testing/testing.cpp", "host/headless/headless_host.h" },
        { "host/sdl/main.cpp", "testing/testing.h" },
    };
    EXPECT_TRUE(LayerBreaches(good).empty()) << ::testing::PrintToString(LayerBreaches(good));

    EXPECT_EQ(FirstCircle({ { "a.h", "b.h" }, { "b.h", "c.h" }, { "c.h", "a.h" } }), "a.h -> b.h -> c.h -> a.h");
    EXPECT_EQ(FirstCircle({ { "a.h", "b.h" }, { "a.h", "c.h" }, { "b.h", "c.h" } }), "");
}

} // namespace
