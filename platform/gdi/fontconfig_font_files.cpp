#include "gdi/font_files.h"

#include <fontconfig/fontconfig.h>

namespace platform::gdi {

std::optional<FontFile> MatchFontFile(const std::string& family, bool japanese)
{
    if (!FcInit()) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return std::nullopt;
    std::optional<FontFile> file;
    FcChar8* path = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        file = FontFile { reinterpret_cast<const char*>(path), index };
    }
    FcPatternDestroy(match);
    return file;
}

// Only GDI asks fontconfig.
void ForgetFontFiles() { FcFini(); }

} // namespace platform::gdi
