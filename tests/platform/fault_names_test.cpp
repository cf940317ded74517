// The list of operations that can be made to fail is the one the platform
// asks with: a name missing from it could not be failed by a replay script,
// and a listed name nothing asks for would be accepted and do nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "common/diagnostics.h"
#include "ddraw/surface.h"

namespace {

namespace fs = std::filesystem;
using platform::diagnostics::IsFaultableOperation;
using platform::diagnostics::kFaultableOperations;

// The names passed to ShouldFail as literals anywhere in platform/.
std::set<std::string> NamesAskedFor()
{
    const std::regex asked(R"re(ShouldFail\("([^"]+)"\))re");
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(SAMPLE_SOURCE_DIR "/platform")) {
        std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h") continue;
        std::ifstream file(entry.path());
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator match(text.begin(), text.end(), asked), end; match != end; ++match)
            names.insert((*match)[1].str());
    }
    return names;
}

TEST(FaultNames, TheListIsWhatThePlatformAsksFor)
{
    std::set<std::string> asked = NamesAskedFor();
    ASSERT_GE(asked.size(), 5u) << "the sources were not found under " SAMPLE_SOURCE_DIR;
    for (const std::string& name : asked)
        EXPECT_TRUE(IsFaultableOperation(name)) << name << " can fail but is not listed";

    // CreateSurface also asks with the kind of surface in brackets.
    using platform::ddraw::SurfaceRole;
    std::set<std::string> kinds;
    for (SurfaceRole role : { SurfaceRole::WindowedPrimary(), SurfaceRole::ScreenPrimary(), SurfaceRole::BackBuffer(),
             SurfaceRole::Picture() })
        kinds.insert(std::string("CreateSurface(") + role.Name() + ")");
    for (const std::string& name : kinds)
        EXPECT_TRUE(IsFaultableOperation(name)) << name << " can fail but is not listed";

    for (std::string_view name : kFaultableOperations)
        EXPECT_TRUE(asked.contains(std::string(name)) || kinds.contains(std::string(name)))
            << name << " is listed but nothing asks for it";
    EXPECT_FALSE(IsFaultableOperation("NoSuchOperation"));
    EXPECT_FALSE(IsFaultableOperation("getdc"));
}

} // namespace
