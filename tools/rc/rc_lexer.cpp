#include "rc_lexer.h"

#include "rc_error.h"

#include <cctype>
#include <limits>

namespace rc {
namespace {

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Lexer {
public:
    Lexer(std::string_view script, const std::string& source)
        : text_(script)
        , source_(source)
    {
        if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    }

    std::vector<Token> Run()
    {
        std::vector<Token> tokens;
        while (SkipSpaceAndComments())
            tokens.push_back(Next());
        tokens.push_back(Token { Token::Kind::End, "", 0, line_ });
        return tokens;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const
    {
        throw RcError(source_ + ":" + std::to_string(line_) + ": " + message);
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }

    // False at the end of the script.
    bool SkipSpaceAndComments()
    {
        while (!AtEnd()) {
            char c = Peek();
            if (c == '\n') {
                ++line_;
                ++pos_;
                atLineStart_ = true;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '/' && Peek(1) == '/') {
                while (!AtEnd() && Peek() != '\n')
                    ++pos_;
            } else if (c == '/' && Peek(1) == '*') {
                SkipBlockComment();
            } else {
                return true;
            }
        }
        return false;
    }

    void SkipBlockComment()
    {
        int startLine = line_;
        pos_ += 2;
        while (!(Peek() == '*' && Peek(1) == '/')) {
            if (AtEnd()) {
                line_ = startLine;
                Fail("unterminated comment");
            }
            if (Peek() == '\n') ++line_;
            ++pos_;
        }
        pos_ += 2;
    }

    Token Next()
    {
        bool lineStart = atLineStart_;
        atLineStart_ = false;
        char c = Peek();
        if (c == '#' && lineStart) return Directive();
        if (c == '"' || ((c == 'L' || c == 'l') && Peek(1) == '"')) return String();
        if (std::isdigit(static_cast<unsigned char>(c))) return Number();
        if (IsIdentifierStart(c)) return Identifier();
        if (std::string_view(",{}|()").find(c) != std::string_view::npos) {
            ++pos_;
            return Token { Token::Kind::Punctuation, std::string(1, c), 0, line_ };
        }
        if (static_cast<unsigned char>(c) >= 0x80) Fail("non-ASCII text outside a string");
        Fail(std::string("unexpected character '") + c + "'");
    }

    Token Directive()
    {
        Token token { Token::Kind::Directive, "", 0, line_ };
        ++pos_;
        while (!AtEnd() && Peek() != '\n') {
            if (Peek() == '/' && (Peek(1) == '/' || Peek(1) == '*')) break;
            token.text += text_[pos_++];
        }
        while (!token.text.empty() && std::isspace(static_cast<unsigned char>(token.text.back())))
            token.text.pop_back();
        return token;
    }

    Token Identifier()
    {
        Token token { Token::Kind::Identifier, "", 0, line_ };
        while (IsIdentifierChar(Peek()))
            token.text += text_[pos_++];
        return token;
    }

    Token Number()
    {
        Token token { Token::Kind::Number, "", 0, line_ };
        int base = 10;
        if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
            base = 16;
            pos_ += 2;
        }
        long value = 0;
        int digits = 0;
        while (std::isxdigit(static_cast<unsigned char>(Peek()))) {
            char c = Peek();
            int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
            if (digit >= base) break;
            if (value > (std::numeric_limits<int>::max() - digit) / base) Fail("number too large");
            value = value * base + digit;
            ++digits;
            ++pos_;
        }
        if (digits == 0) Fail("malformed number");
        if (Peek() == 'L' || Peek() == 'l') ++pos_;
        if (IsIdentifierChar(Peek())) Fail("malformed number");
        token.number = value;
        token.text = std::to_string(value);
        return token;
    }

    Token String()
    {
        Token token { Token::Kind::String, "", 0, line_ };
        if (Peek() != '"') ++pos_; // the L of a wide string
        ++pos_;
        for (;;) {
            if (AtEnd() || Peek() == '\n') Fail("unterminated string");
            char c = text_[pos_++];
            if (c == '"') {
                if (Peek() != '"') break;
                ++pos_; // "" stands for one quote
                token.text += '"';
            } else if (c == '\\') {
                token.text += Escape();
            } else {
                token.text += c;
            }
        }
        return token;
    }

    char Escape()
    {
        char c = AtEnd() ? '\0' : text_[pos_++];
        switch (c) {
        case 'n':
            return '\n';
        case 't':
            return '\t';
        case 'a':
            return '\b'; // right-aligns the rest of a menu text
        case '\\':
            return '\\';
        case '"':
            return '"';
        default:
            Fail(std::string("unsupported escape '\\") + c + "' in string");
        }
    }

    std::string_view text_;
    std::string source_;
    size_t pos_ = 0;
    int line_ = 1;
    bool atLineStart_ = true;
};

} // namespace

std::vector<Token> Tokenize(std::string_view script, const std::string& source) { return Lexer(script, source).Run(); }

} // namespace rc
