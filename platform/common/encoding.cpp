// Code page 932 and UTF-8 through iconv. Conversion goes on past anything it
// cannot convert, which becomes U+FFFD one way and '?' the other.
#include "common/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace platform::encoding {
namespace {

// Code page 932 by name, else the Shift-JIS it extends: musl (the C library
// of the WebAssembly build) knows only the latter, which lacks the NEC and
// IBM rows and takes a few symbols (～ ∥ － ￠ ￡ ￢) for their JIS look-alikes.
constexpr const char* kCodePage932Names[] = { "CP932", "SHIFT_JIS" };

iconv_t OpenConverter(bool toCodePage)
{
    for (const char* name : kCodePage932Names) {
        iconv_t handle = toCodePage ? iconv_open(name, "UTF-8") : iconv_open("UTF-8", name);
        if (handle != reinterpret_cast<iconv_t>(-1)) return handle;
    }
    return reinterpret_cast<iconv_t>(-1);
}

class Converter {
public:
    explicit Converter(bool toCodePage)
        : handle_(OpenConverter(toCodePage))
    {
    }
    ~Converter()
    {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }
    void reset() const { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t handle_;
};

// Length of the UTF-8 sequence a lead byte starts; 1 for a stray byte, so a
// bad byte is skipped alone.
size_t Utf8SequenceLength(unsigned char lead, size_t available)
{
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    return length <= available ? length : 1;
}

using SkipLength = size_t (*)(const char* at, size_t available);

size_t SkipOneByte(const char*, size_t) { return 1; }

size_t SkipUtf8Character(const char* at, size_t available)
{
    return Utf8SequenceLength(static_cast<unsigned char>(*at), available);
}

// Without a usable converter only ASCII is carried over.
std::string AsciiOnly(std::string_view text, std::string_view replacement)
{
    std::string out;
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += replacement;
    }
    return out;
}

std::string Convert(std::string_view text, bool toCodePage, std::string_view replacement, SkipLength skipLength)
{
    if (text.empty()) return {};
    Converter converter(toCodePage);
    if (!converter.ok()) return AsciiOnly(text, replacement);

    std::string out;
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, size_t(outPtr - buffer));
        if (result != size_t(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL (cut short at the end): replace and go on.
        size_t skip = skipLength(in, inLeft);
        in += skip;
        inLeft -= skip;
        out += replacement;
        converter.reset();
    }
    // Flush any shift state the target needs.
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, size_t(outPtr - buffer));
    return out;
}

} // namespace

std::string Cp932ToUtf8(std::string_view text) { return Convert(text, false, "\xEF\xBF\xBD", SkipOneByte); }

std::string Utf8ToCp932(std::string_view text) { return Convert(text, true, "?", SkipUtf8Character); }

std::u32string Utf8ToCodePoints(std::string_view text)
{
    constexpr char32_t kReplacement = 0xFFFD;
    std::u32string characters;
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            characters.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t character = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            character = (character << 6) | (next & 0x3F);
        }
        characters.push_back(valid ? character : kReplacement);
        i += valid ? extra + 1 : 1;
    }
    return characters;
}

} // namespace platform::encoding
