#include "gdi/font_faces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/encoding.h"
#include "gdi/font_files.h"
#include "gdi/testing_hooks.h"

namespace platform::gdi {
namespace {

// Whether a leak checker watches this build (AddressSanitizer's, as the
// sanitizer builds have).
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeaksChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLeaksChecked = true;
#else
constexpr bool kLeaksChecked = false;
#endif
#else
constexpr bool kLeaksChecked = false;
#endif

// Faces a Japanese Windows program asks for, and the free fonts that have
// the same shapes and metrics.
constexpr std::pair<std::string_view, std::string_view> kSubstitutes[] = {
    { "ＭＳゴシック", "IPAGothic" },
    { "ＭＳ ゴシック", "IPAGothic" },
    { "MS Gothic", "IPAGothic" },
    { "ＭＳ Ｐゴシック", "IPAPGothic" },
    { "MS PGothic", "IPAPGothic" },
    { "ＭＳ明朝", "IPAMincho" },
    { "ＭＳ 明朝", "IPAMincho" },
    { "MS Mincho", "IPAMincho" },
    { "", "sans-serif" },
    { "System", "sans-serif" },
};

// Where a font of the families above comes from on Debian; the gothic
// stands for any other face asked for with Japanese text.
constexpr std::pair<std::string_view, std::string_view> kPackages[] = {
    { "IPAMincho", "fonts-ipafont-mincho" },
};
constexpr std::string_view kJapanesePackage = "fonts-ipafont-gothic";
// A kana: a font without it shows no Japanese text. Written as the
// character itself, so that the page's font, cut to the characters of the
// sources' literals, keeps it too.
constexpr char32_t kJapaneseProbe = U'あ'; // HIRAGANA LETTER A

std::string_view PackageFor(std::string_view family)
{
    for (const auto& [name, package] : kPackages)
        if (family == name) return package;
    return kJapanesePackage;
}

// Without it every Japanese text (the menus, the boxes and their buttons)
// is blank or boxes, and nothing else would say why.
void ReportMissingJapaneseFont(const std::string& face, const std::string& family)
{
    const std::string_view package = PackageFor(family);
    std::fprintf(stderr,
        "platform: no Japanese font for \"%s\" (%s), so Japanese text cannot be shown: install the Debian package "
        "%.*s\n",
        face.c_str(), family.c_str(), int(package.size()), package.data());
    std::fflush(stderr);
}

// Sizes beyond these are no text anyone reads, only huge glyph bitmaps.
constexpr int kDefaultHeight = 16;
constexpr int kMaximumPixels = 512;
constexpr size_t kMaximumCachedGlyphs = 4096;

std::string FaceNameOf(const LOGFONTA& description)
{
    std::string_view face(description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
    return platform::encoding::Cp932ToUtf8(face);
}

std::string FamilyFor(const LOGFONTA& description)
{
    std::string family = FaceNameOf(description);
    for (const auto& [name, substitute] : kSubstitutes)
        if (family == name) return std::string(substitute);
    return family;
}

// Where the face's cell lies, in font units. The horizontal header's
// ascent and descent, not the OS/2 win metrics: IPAGothic's win descent is
// padded beyond its em, while the MS Gothic it stands for has a cell of
// exactly one em, so a 16-pixel cell must give 16-pixel characters.
std::pair<int, int> CellExtents(FT_Face face)
{
    int ascent = face->ascender, descent = -face->descender;
    if (ascent > 0 && ascent + descent > 0) return { ascent, descent };
    auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent > 0) return { os2->usWinAscent, os2->usWinDescent };
    return { face->units_per_EM, 0 };
}

int ClampPixels(long value) { return static_cast<int>(std::clamp<long>(value, 1, kMaximumPixels)); }

Glyph CopyRendered(const FT_GlyphSlot slot)
{
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.ink.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    for (int row = 0; row < glyph.rows; ++row) {
        const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        for (int column = 0; column < glyph.width; ++column) {
            bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (line[column >> 3] & (0x80 >> (column & 7))) != 0
                                                              : line[column] >= 128;
            glyph.ink[static_cast<size_t>(row) * glyph.width + column] = on ? 1 : 0;
        }
    }
    return glyph;
}

class FreeTypeSizedFace final : public SizedFace {
public:
    FreeTypeSizedFace(FT_Face face, FT_Size size, int ascent, int cellHeight)
        : face_(face)
        , size_(size)
        , ascent_(ascent)
        , cellHeight_(cellHeight)
    {
    }
    ~FreeTypeSizedFace() override { FT_Done_Size(size_); }
    FreeTypeSizedFace(const FreeTypeSizedFace&) = delete;
    FreeTypeSizedFace& operator=(const FreeTypeSizedFace&) = delete;

    int Ascent() const override { return ascent_; }
    int CellHeight() const override { return cellHeight_; }

    const Glyph* GlyphFor(char32_t character) override
    {
        auto found = glyphs_.find(character);
        if (found != glyphs_.end()) return &found->second;
        return &glyphs_.emplace(character, Render(character)).first->second;
    }

    void TrimGlyphCache() override
    {
        if (glyphs_.size() > kMaximumCachedGlyphs) glyphs_.clear();
    }

private:
    // Without anti-aliasing, so that glyph pixels are exactly the text colour.
    Glyph Render(char32_t character)
    {
        FT_Activate_Size(size_);
        FT_UInt index = FT_Get_Char_Index(face_, character);
        constexpr FT_Int32 flags = FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO;
        if (FT_Load_Glyph(face_, index, flags) != 0 && (index == 0 || FT_Load_Glyph(face_, 0, flags) != 0))
            return Glyph { 0, 0, 0, 0, cellHeight_ / 2, {} };
        return CopyRendered(face_->glyph);
    }

    FT_Face face_;
    FT_Size size_;
    int ascent_;
    int cellHeight_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

class LoadedFace {
public:
    explicit LoadedFace(FT_Face face)
        : face_(face)
        , japanese_(FT_Get_Char_Index(face, kJapaneseProbe) != 0)
    {
    }
    ~LoadedFace()
    {
        sizes_.clear(); // sizes belong to the face and go first
        FT_Done_Face(face_);
    }
    LoadedFace(const LoadedFace&) = delete;
    LoadedFace& operator=(const LoadedFace&) = delete;

    bool HasJapanese() const { return japanese_; }

    SizedFace* AtSize(const LOGFONTA& description)
    {
        auto [ascentUnits, descentUnits] = CellExtents(face_);
        long cellUnits = ascentUnits + descentUnits;
        long height = description.lfHeight == 0 ? kDefaultHeight : description.lfHeight;
        // A positive height is the cell, a negative one the character (em).
        int em = height > 0 ? ClampPixels(std::lround(double(height) * face_->units_per_EM / cellUnits))
                            : ClampPixels(-height);
        // Windows' width is the average character width, about half an em here.
        int emWidth = description.lfWidth == 0 ? 0 : ClampPixels(2L * std::abs(long { description.lfWidth }));
        auto key = std::make_pair(em, emWidth);
        auto found = sizes_.find(key);
        if (found != sizes_.end()) return found->second.get();
        std::unique_ptr<SizedFace> sized = CreateSize(em, emWidth, ascentUnits, descentUnits);
        if (!sized) return nullptr;
        return sizes_.emplace(key, std::move(sized)).first->second.get();
    }

private:
    std::unique_ptr<SizedFace> CreateSize(int em, int emWidth, int ascentUnits, int descentUnits)
    {
        FT_Size size = nullptr;
        if (FT_New_Size(face_, &size) != 0) return nullptr;
        FT_Activate_Size(size);
        if (FT_Set_Pixel_Sizes(face_, static_cast<FT_UInt>(emWidth), static_cast<FT_UInt>(em)) != 0) {
            FT_Done_Size(size);
            return nullptr;
        }
        double scale = double(em) / face_->units_per_EM;
        int ascent = static_cast<int>(std::lround(ascentUnits * scale));
        int descent = static_cast<int>(std::lround(descentUnits * scale));
        return std::make_unique<FreeTypeSizedFace>(face_, size, ascent, ascent + descent);
    }

    FT_Face face_;
    bool japanese_;
    std::map<std::pair<int, int>, std::unique_ptr<SizedFace>> sizes_;
};

class FaceRegistry {
public:
    ~FaceRegistry()
    {
        faces_.clear();
        if (library_ != nullptr) FT_Done_FreeType(library_);
        // Other libraries in the process may still hold fontconfig at exit
        // (a desktop's title bar drawn by libdecor through cairo and pango),
        // and tearing it down under them aborts. Only a leak checker's build,
        // which never runs under such a desktop, gives its caches back, so
        // that the checker sees only what is ours.
        if (kLeaksChecked && !resolved_.empty()) ForgetFontFiles();
    }

    // A program that makes a new font for every line of text asks for the
    // same few descriptions each frame: those skip the name conversion and
    // the lookups.
    SizedFace* Find(const LOGFONTA& description)
    {
        const FaceKey key = KeyOf(description);
        for (const RecentFace& recent : recent_)
            if (recent.used && recent.key == key) return recent.face;
        std::optional<FontFile> file = Resolve(description);
        LoadedFace* face = file ? Open(*file) : nullptr;
        if (description.lfCharSet == SHIFTJIS_CHARSET && (face == nullptr || !face->HasJapanese()))
            NoteMissingJapaneseFont(description);
        if (face == nullptr) return nullptr;
        SizedFace* sized = face->AtSize(description);
        if (sized != nullptr) {
            recent_[nextRecent_] = RecentFace { true, key, sized };
            nextRecent_ = (nextRecent_ + 1) % kRecentFaces;
        }
        return sized;
    }

    int OpenFaceCount() const
    {
        return static_cast<int>(
            std::count_if(faces_.begin(), faces_.end(), [](const auto& entry) { return entry.second != nullptr; }));
    }

private:
    // Fontconfig is asked once per face name and character set.
    std::optional<FontFile> Resolve(const LOGFONTA& description)
    {
        std::string family = FamilyFor(description);
        bool japanese = description.lfCharSet == SHIFTJIS_CHARSET;
        std::string key = family + (japanese ? "\n:ja" : "\n");
        auto found = resolved_.find(key);
        if (found == resolved_.end()) found = resolved_.emplace(key, MatchFontFile(family, japanese)).first;
        return found->second;
    }

    // Once a run: the program asks for its fonts again and again.
    void NoteMissingJapaneseFont(const LOGFONTA& description)
    {
        if (japaneseMissingTold_) return;
        japaneseMissingTold_ = true;
        ReportMissingJapaneseFont(FaceNameOf(description), FamilyFor(description));
    }

    // A file that failed to open is remembered as failed, not retried.
    LoadedFace* Open(const FontFile& file)
    {
        auto found = faces_.find(file);
        if (found != faces_.end()) return found->second.get();
        std::unique_ptr<LoadedFace> loaded;
        FT_Face face = nullptr;
        if (Library() != nullptr && FT_New_Face(library_, file.path.c_str(), file.index, &face) == 0) {
            if (FT_IS_SCALABLE(face) && face->units_per_EM > 0)
                loaded = std::make_unique<LoadedFace>(face);
            else
                FT_Done_Face(face);
        }
        return faces_.emplace(file, std::move(loaded)).first->second.get();
    }

    FT_Library Library()
    {
        if (library_ == nullptr && FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        return library_;
    }

    // What of a description decides its face and size.
    struct FaceKey {
        std::array<char, LF_FACESIZE> name {};
        BYTE charSet = 0;
        LONG height = 0;
        LONG width = 0;
        bool operator==(const FaceKey&) const = default;
    };
    struct RecentFace {
        bool used = false;
        FaceKey key;
        SizedFace* face = nullptr; // sizes live as long as the registry
    };
    static constexpr size_t kRecentFaces = 4;

    static FaceKey KeyOf(const LOGFONTA& description)
    {
        FaceKey key;
        // Bytes after the name's end do not name anything.
        std::memcpy(key.name.data(), description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
        key.charSet = description.lfCharSet;
        key.height = description.lfHeight;
        key.width = description.lfWidth;
        return key;
    }

    std::array<RecentFace, kRecentFaces> recent_ {};
    size_t nextRecent_ = 0;
    FT_Library library_ = nullptr;
    std::map<std::string, std::optional<FontFile>> resolved_;
    std::map<FontFile, std::unique_ptr<LoadedFace>> faces_;
    bool japaneseMissingTold_ = false;
};

FaceRegistry& Registry()
{
    static FaceRegistry registry;
    return registry;
}

} // namespace

SizedFace* FaceFor(const LOGFONTA& description) { return Registry().Find(description); }

int LoadedFaceCount() { return Registry().OpenFaceCount(); }

} // namespace platform::gdi
