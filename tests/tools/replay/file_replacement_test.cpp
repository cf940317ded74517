// Files replaced whole or not at all, and targets that must not be touched.
#include "file_replacement.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = (fs::temp_directory_path() / "replacement-XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder = name;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string Path(const char* name) const { return (folder / name).string(); }

    std::string Write(const char* name, const std::string& content) const
    {
        std::ofstream(Path(name), std::ios::binary) << content;
        return Path(name);
    }

    // Everything in the folder: a temporary left behind shows here.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

std::string Content(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Replaces `target` with `size` bytes in a child process whose files may not
// grow past `limit` bytes: the write fails half way, as on a full disk.
// Returns the child's verdict: 0 when the replacement failed saying why.
int ReplaceUnderSizeLimit(const std::string& target, size_t size, rlim_t limit)
{
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit rl { limit, limit };
        if (setrlimit(RLIMIT_FSIZE, &rl) != 0) _exit(3);
        std::string error;
        bool replaced = replay::ReplaceFile(target, std::vector<uint8_t>(size, 'n'), error);
        _exit(replaced ? 1 : error == "File too large" ? 0 : 2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(FileReplacementTest, ReplacesAFileKeepingItsPermissionsAndLeavesNothingElse)
{
    std::string target = Write("shot.png", "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(replay::ReplaceFile(target, Bytes("new picture"), error)) << error;
    EXPECT_EQ(Content(target), "new picture");
    struct stat status { };
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    ASSERT_TRUE(replay::ReplaceFile(Path("new.png"), Bytes("fresh"), error)) << error;
    EXPECT_EQ(Content(Path("new.png")), "fresh");
    EXPECT_EQ(Names(), (std::vector<std::string> { "new.png", "shot.png" }));
}

TEST_F(FileReplacementTest, AWriteThatFailsHalfWayLeavesTheTargetAsItWas)
{
    std::string target = Write("shot.png", "the old picture");
    EXPECT_EQ(ReplaceUnderSizeLimit(target, 64 * 1024, 4096), 0);
    EXPECT_EQ(Content(target), "the old picture");
    EXPECT_EQ(Names(), std::vector<std::string> { "shot.png" }) << "the temporary is removed";

    EXPECT_EQ(ReplaceUnderSizeLimit(Path("absent.png"), 64 * 1024, 4096), 0);
    EXPECT_EQ(Names(), std::vector<std::string> { "shot.png" }) << "an absent target stays absent";
}

TEST_F(FileReplacementTest, AReplacementNeverCommittedLeavesTheTargetAsItWas)
{
    std::string target = Write("wave.webp", "old frames");
    {
        replay::FileReplacement replacement;
        std::string error;
        ASSERT_TRUE(replacement.Open(target, error)) << error;
        ASSERT_TRUE(replacement.Write(Bytes("half an animation"), error)) << error;
        EXPECT_EQ(Names().size(), 2u) << "the new file is written beside the target";
    }
    EXPECT_EQ(Content(target), "old frames");
    EXPECT_EQ(Names(), std::vector<std::string> { "wave.webp" });
}

TEST_F(FileReplacementTest, TargetsThatAreNotRegularFilesAreRefusedUntouched)
{
    std::string error;
    EXPECT_FALSE(replay::ReplaceFile("/dev/null", Bytes("x"), error));
    EXPECT_EQ(error, "not a regular file (a device)");
    struct stat status { };
    ASSERT_EQ(stat("/dev/null", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << "/dev/null is still the device";

    std::string directory = Path("shots");
    ASSERT_TRUE(fs::create_directory(directory));
    EXPECT_FALSE(replay::ReplaceFile(directory, Bytes("x"), error));
    EXPECT_EQ(error, "not a regular file (a directory)");
    EXPECT_TRUE(fs::is_directory(directory));

    // Opening a FIFO for writing would wait for a reader for ever.
    std::string fifo = Path("pipe.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto replacing = std::async(std::launch::async, [&] {
        std::string reason;
        replay::ReplaceFile(fifo, Bytes("x"), reason);
        return reason;
    });
    if (replacing.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        std::ifstream reader(fifo); // lets a blocked writer go, so the test ends
        replacing.wait();
        FAIL() << "replacing a FIFO blocked";
    }
    EXPECT_EQ(replacing.get(), "not a regular file (a FIFO)");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Names(), (std::vector<std::string> { "pipe.png", "shots" }));
}

// A link is followed: the file it leads to gets the new content and the link
// stays a link. A link to a device or to nothing is refused.
TEST_F(FileReplacementTest, SymbolicLinksLeadToTheFileReplaced)
{
    std::string real = Write("real.png", "old");
    std::string link = Path("link.png");
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    std::string error;
    ASSERT_TRUE(replay::ReplaceFile(link, Bytes("new"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(real), "new");

    std::string toDevice = Path("device.png");
    ASSERT_EQ(symlink("/dev/null", toDevice.c_str()), 0);
    EXPECT_FALSE(replay::ReplaceFile(toDevice, Bytes("x"), error));
    EXPECT_EQ(error, "not a regular file (a device)");
    EXPECT_TRUE(fs::is_symlink(toDevice));

    std::string dangling = Path("dangling.png");
    ASSERT_EQ(symlink(Path("nothing").c_str(), dangling.c_str()), 0);
    EXPECT_FALSE(replay::ReplaceFile(dangling, Bytes("x"), error));
    EXPECT_EQ(error, "a symbolic link that leads nowhere");
    EXPECT_EQ(Names(), (std::vector<std::string> { "dangling.png", "device.png", "link.png", "real.png" }));
}

} // namespace
