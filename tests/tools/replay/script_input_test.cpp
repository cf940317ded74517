// Scripts read within their limit from files, devices and pipes.
#include "script_input.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string WriteTemporary(const std::string& content)
{
    std::string path = (fs::temp_directory_path() / "script-input-XXXXXX").string();
    int descriptor = mkstemp(path.data());
    EXPECT_GE(descriptor, 0);
    close(descriptor);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

const std::string kTooLarge = "it is larger than 4 MiB, the most a script may hold";

TEST(ScriptInput, AFileUpToTheLimitIsReadAndOneByteMoreIsRefused)
{
    std::string text;
    std::string error;
    std::string path = WriteTemporary(std::string(replay::kMaxScriptBytes - 6, '\n') + "frame\n");
    ASSERT_TRUE(replay::ReadScriptFile(path, text, error)) << error;
    EXPECT_EQ(text.size(), replay::kMaxScriptBytes);
    EXPECT_TRUE(text.ends_with("frame\n"));

    std::ofstream(path, std::ios::app) << '\n';
    EXPECT_FALSE(replay::ReadScriptFile(path, text, error));
    EXPECT_EQ(error, "cannot read " + path + ": " + kTooLarge);
    EXPECT_TRUE(text.empty());
    fs::remove(path);
}

// An endless device is refused once the limit is passed, holding no more.
TEST(ScriptInput, EndlessDevicesAreRefusedAtTheLimit)
{
    std::string text;
    std::string error;
    for (const char* device : { "/dev/zero", "/dev/urandom" }) {
        EXPECT_FALSE(replay::ReadScriptFile(device, text, error));
        EXPECT_EQ(error, std::string("cannot read ") + device + ": " + kTooLarge);
        EXPECT_LE(text.capacity(), replay::kMaxScriptBytes + 1);
    }
    EXPECT_FALSE(replay::ReadScriptFile(fs::temp_directory_path().string(), text, error));
    EXPECT_EQ(error, "cannot read " + fs::temp_directory_path().string() + ": it is a directory");
}

// Standard input as a pipe: read to its end within the limit, refused past it.
TEST(ScriptInput, APipeIsReadToItsEndWithinTheLimit)
{
    for (size_t size : { replay::kMaxScriptBytes, replay::kMaxScriptBytes + 1 }) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        std::thread writer([&, size] {
            std::string chunk(64 * 1024, '#');
            for (size_t sent = 0; sent < size;) {
                ssize_t wrote = write(ends[1], chunk.data(), std::min(chunk.size(), size - sent));
                if (wrote <= 0) break; // the reader gave up
                sent += size_t(wrote);
            }
            close(ends[1]);
        });
        std::string text;
        std::string error;
        bool whole = replay::ReadScriptFrom(ends[0], text, error);
        close(ends[0]);
        writer.join();
        if (size == replay::kMaxScriptBytes) {
            EXPECT_TRUE(whole) << error;
            EXPECT_EQ(text.size(), size);
        } else {
            EXPECT_FALSE(whole);
            EXPECT_EQ(error, kTooLarge);
        }
    }
}

} // namespace
