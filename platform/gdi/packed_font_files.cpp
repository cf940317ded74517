#include "gdi/font_files.h"

#include <sys/stat.h>

#include <string_view>
#include <utility>

namespace platform::gdi {
namespace {

// The folder the page's fonts are packed into, and the file of each family
// a substitution can name. A family without a file of its own gets the
// gothic, as fontconfig gives its best match rather than none.
constexpr std::string_view kFolder = "/fonts/";
constexpr std::pair<std::string_view, std::string_view> kFiles[] = {
    { "IPAGothic", "ipag.ttf" },
    { "IPAPGothic", "ipagp.ttf" },
    { "IPAMincho", "ipam.ttf" },
};
constexpr std::string_view kFallback = "ipag.ttf";

bool IsFile(const std::string& path)
{
    struct stat status { };
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

std::optional<FontFile> MatchFontFile(const std::string& family, bool)
{
    for (const auto& [name, file] : kFiles) {
        if (family != name) continue;
        std::string path = std::string(kFolder) + std::string(file);
        if (IsFile(path)) return FontFile { path, 0 };
    }
    std::string fallback = std::string(kFolder) + std::string(kFallback);
    if (IsFile(fallback)) return FontFile { fallback, 0 };
    return std::nullopt;
}

void ForgetFontFiles() { }

} // namespace platform::gdi
