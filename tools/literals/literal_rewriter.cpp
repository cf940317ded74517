#include "literal_rewriter.h"

#include <cstdio>

namespace literals {
namespace {

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool IsIdentifierCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || !IsAscii(c);
}

class Rewriter {
public:
    Rewriter(std::string_view source, const Encoder& encode, std::string& out)
        : source_(source)
        , encode_(encode)
        , out_(out)
    {
    }

    bool Run(std::string& error)
    {
        out_.clear();
        while (at_ < source_.size()) {
            if (!Step()) {
                error = "line " + std::to_string(line_) + ": " + problem_;
                return false;
            }
        }
        return true;
    }

private:
    bool Step()
    {
        if (Starts("//")) return LineComment();
        if (Starts("/*")) return BlockComment();
        char c = source_[at_];
        if (c == '"') return Literal(Prefix());
        if (c == '\'' && !IsDigitSeparator()) return CharacterLiteral();
        if (!IsAscii(c)) return Fail("non-ASCII text outside a string literal or comment");
        Copy(1);
        return true;
    }

    bool Starts(std::string_view text) const { return source_.substr(at_, text.size()) == text; }

    // The letters right before a quote: R, u8, L, ... or nothing. Digits
    // and other letters belong to an identifier or number, not to a prefix.
    std::string_view Prefix() const
    {
        size_t start = out_.size();
        while (start > 0 && IsIdentifierCharacter(out_[start - 1]))
            --start;
        return std::string_view(out_).substr(start);
    }

    // 1'000: a quote inside a number.
    bool IsDigitSeparator() const
    {
        std::string_view prefix = Prefix();
        return !prefix.empty() && prefix.front() >= '0' && prefix.front() <= '9';
    }

    bool LineComment()
    {
        while (at_ < source_.size() && source_[at_] != '\n')
            Copy(1);
        return true;
    }

    bool BlockComment()
    {
        Copy(2);
        while (at_ < source_.size()) {
            if (Starts("*/")) {
                Copy(2);
                return true;
            }
            Copy(1);
        }
        return Fail("a comment is not closed");
    }

    bool Literal(std::string_view prefix)
    {
        if (prefix == "R" || prefix == "LR" || prefix == "uR" || prefix == "UR" || prefix == "u8R") return RawLiteral();
        // These keep their own encoding whatever the execution character
        // set: their text is copied as it stands, as g++ would store it.
        const bool plain = prefix != "L" && prefix != "u" && prefix != "U" && prefix != "u8";
        Copy(1);
        while (at_ < source_.size()) {
            char c = source_[at_];
            if (c == '"') {
                Copy(1);
                return true;
            }
            if (c == '\n') return Fail("a string literal is not closed");
            if (c == '\\') {
                Copy(at_ + 1 < source_.size() ? 2 : 1);
                continue;
            }
            if (IsAscii(c) || !plain) {
                Copy(1);
                continue;
            }
            if (!EncodeRun()) return false;
        }
        return Fail("a string literal is not closed");
    }

    // Raw literals cannot hold escapes; their text is copied, and must be ASCII.
    bool RawLiteral()
    {
        size_t open = source_.find('(', at_);
        if (open == std::string_view::npos) return Fail("a raw string literal is not closed");
        std::string closing(1, ')');
        closing.append(source_.substr(at_ + 1, open - at_ - 1));
        closing += '"';
        size_t close = source_.find(closing, open);
        if (close == std::string_view::npos) return Fail("a raw string literal is not closed");
        size_t end = close + closing.size();
        for (size_t i = at_; i < end; ++i)
            if (!IsAscii(source_[i])) return Fail("non-ASCII text in a raw string literal");
        Copy(end - at_);
        return true;
    }

    bool CharacterLiteral()
    {
        Copy(1);
        while (at_ < source_.size()) {
            char c = source_[at_];
            if (c == '\'') {
                Copy(1);
                return true;
            }
            if (c == '\n') return Fail("a character literal is not closed");
            if (!IsAscii(c)) return Fail("non-ASCII text in a character literal");
            Copy(c == '\\' && at_ + 1 < source_.size() ? 2 : 1);
        }
        return Fail("a character literal is not closed");
    }

    bool EncodeRun()
    {
        size_t end = at_;
        while (end < source_.size() && !IsAscii(source_[end]))
            ++end;
        std::string bytes;
        if (!encode_(source_.substr(at_, end - at_), bytes))
            return Fail("text that code page 932 cannot hold, or that is not UTF-8");
        for (char byte : bytes) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(byte));
            out_ += escape;
        }
        at_ = end;
        return true;
    }

    void Copy(size_t count)
    {
        for (size_t i = 0; i < count && at_ < source_.size(); ++i, ++at_) {
            if (source_[at_] == '\n') ++line_;
            out_ += source_[at_];
        }
    }

    bool Fail(const char* problem)
    {
        problem_ = problem;
        return false;
    }

    std::string_view source_;
    const Encoder& encode_;
    std::string& out_;
    size_t at_ = 0;
    int line_ = 1;
    const char* problem_ = "";
};

} // namespace

bool RewriteLiterals(std::string_view source, const Encoder& encode, std::string& out, std::string& error)
{
    return Rewriter(source, encode, out).Run(error);
}

} // namespace literals
