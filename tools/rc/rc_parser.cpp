#include "rc_parser.h"

#include "rc_error.h"
#include "rc_lexer.h"

#include <map>
#include <regex>
#include <set>

namespace rc {
namespace {

using Kind = Token::Kind;

bool HasNonAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80) return true;
    return false;
}

// Memory options of 16-bit Windows; rc still accepts and ignores them.
const std::set<std::string> kMemoryOptions { "DISCARDABLE", "MOVEABLE", "FIXED", "PURE", "IMPURE", "PRELOAD",
    "LOADONCALL" };

class Parser {
public:
    Parser(std::string_view script, const std::string& source, const IncludeLoader& loadInclude)
        : tokens_(Tokenize(script, source))
        , source_(source)
        , loadInclude_(loadInclude)
    {
    }

    ResourceScript Run()
    {
        while (Peek().kind != Kind::End)
            Statement();
        return std::move(result_);
    }

private:
    [[noreturn]] void Fail(const std::string& message, int line) const { Fail(message, source_, line); }
    [[noreturn]] static void Fail(const std::string& message, const std::string& source, int line)
    {
        throw RcError(source + ":" + std::to_string(line) + ": " + message);
    }
    [[noreturn]] void Fail(const std::string& message) const { Fail(message, Peek().line); }

    // Directives may stand between any two tokens.
    const Token& Peek()
    {
        while (tokens_[pos_].kind == Kind::Directive)
            Directive(tokens_[pos_++], source_);
        return tokens_[pos_];
    }
    const Token& Peek() const { return tokens_[pos_]; }
    const Token& Take()
    {
        const Token& token = Peek();
        if (token.kind != Kind::End) ++pos_;
        return token;
    }
    bool IsWord(const char* word) { return Peek().kind == Kind::Identifier && Peek().text == word; }
    bool IsPunctuation(const char* p) { return Peek().kind == Kind::Punctuation && Peek().text == p; }
    bool TakePunctuation(const char* p)
    {
        if (!IsPunctuation(p)) return false;
        Take();
        return true;
    }
    void Expect(const char* p)
    {
        if (!TakePunctuation(p)) Fail(std::string("expected '") + p + "'" + Found());
    }
    std::string Found() const
    {
        const Token& token = Peek();
        if (token.kind == Kind::End) return ", found the end of the script";
        return ", found '" + token.text + "'";
    }

    void Directive(const Token& token, const std::string& source)
    {
        static const std::regex codePage(R"(pragma\s+code_page\s*\(\s*(\w+)\s*\))");
        static const std::regex once(R"(pragma\s+once)");
        static const std::regex define(R"(define\s+([A-Za-z_]\w*)\s+(\w+)L?)");
        static const std::regex localInclude(R"re(include\s*"([^"]+)")re");
        static const std::regex systemInclude(R"(include\s*<[^>]+>)");
        std::smatch match;
        if (std::regex_match(token.text, match, codePage)) {
            if (match[1] != "65001") Fail("only #pragma code_page(65001) (UTF-8) is supported", source, token.line);
            utf8_ = true;
        } else if (std::regex_match(token.text, once)) {
            // Every included file is read once anyway.
        } else if (std::regex_match(token.text, match, define)) {
            defines_[match[1]] = DefinedNumber(match[2], source, token.line);
        } else if (std::regex_match(token.text, match, localInclude)) {
            Include(match[1], source, token.line);
        } else if (std::regex_match(token.text, systemInclude)) {
            // The Windows headers only supply names this compiler knows itself.
        } else {
            Fail("unsupported preprocessor line '#" + token.text + "'", source, token.line);
        }
    }

    // A header shared with the program holds only preprocessor lines; its
    // defines count as if written where it is included.
    void Include(const std::string& name, const std::string& source, int line)
    {
        if (!loadInclude_) Fail("cannot include \"" + name + "\" here", source, line);
        IncludedFile file = loadInclude_(name, source + ":" + std::to_string(line));
        if (!included_.insert(file.path).second) return;
        for (const Token& token : Tokenize(file.text, file.path)) {
            if (token.kind == Kind::End) break;
            if (token.kind != Kind::Directive)
                Fail("only preprocessor lines may stand in an included file, found '" + token.text + "'", file.path,
                    token.line);
            Directive(token, file.path);
        }
    }

    long DefinedNumber(const std::string& text, const std::string& source, int line)
    {
        try {
            size_t used = 0;
            long value = std::stol(text, &used, 0);
            if (used == text.size() && value >= 0 && value <= 0xFFFF) return value;
        } catch (const std::exception&) {
        }
        Fail("#define value '" + text + "' is not a number from 0 to 65535", source, line);
    }

    int Id(const char* what)
    {
        const Token& token = Take();
        long value = 0;
        if (token.kind == Kind::Number) {
            value = token.number;
        } else if (token.kind == Kind::Identifier && defines_.count(token.text)) {
            value = defines_[token.text];
        } else if (token.kind == Kind::Identifier) {
            Fail("'" + token.text + "' is not a defined number", token.line);
        } else {
            Fail(std::string("expected ") + what
                    + (token.kind == Kind::End ? ", found the end of the script" : ", found '" + token.text + "'"),
                token.line);
        }
        if (value > 0xFFFF) Fail(std::string(what) + " " + std::to_string(value) + " is above 65535", token.line);
        return int(value);
    }

    std::string Text()
    {
        if (Peek().kind != Kind::String) Fail("expected a quoted text" + Found());
        const Token& token = Take();
        if (!utf8_ && HasNonAscii(token.text)) Fail("non-ASCII text before #pragma code_page(65001)", token.line);
        return token.text;
    }

    void Statement()
    {
        if (IsWord("LANGUAGE")) return Language();
        int line = Peek().line;
        int id = Id("a resource id");
        if (Peek().kind != Kind::Identifier) Fail("expected a resource type after " + std::to_string(id) + Found());
        std::string type = Take().text;
        SkipMemoryOptions();
        if (type == "ICON") return Icon(id, line);
        if (type == "MENU") return Menu(id, line);
        Fail("unsupported resource type '" + type + "'", line);
    }

    void SkipMemoryOptions()
    {
        while (Peek().kind == Kind::Identifier && kMemoryOptions.count(Peek().text))
            Take();
    }

    void Language()
    {
        Take();
        for (int part = 0; part < 2; ++part) {
            if (part == 1) Expect(",");
            if (Peek().kind != Kind::Identifier && Peek().kind != Kind::Number)
                Fail("expected a language name" + Found());
            Take();
        }
    }

    void Icon(int id, int line)
    {
        for (const auto& icon : result_.icons)
            if (icon.id == id) Fail("icon " + std::to_string(id) + " is defined twice", line);
        result_.icons.push_back(IconResource { id, Text(), line });
    }

    void Menu(int id, int line)
    {
        for (const auto& menu : result_.menus)
            if (menu.id == id) Fail("menu " + std::to_string(id) + " is defined twice", line);
        MenuResource menu { id, {} };
        Block(menu.items, 0);
        result_.menus.push_back(std::move(menu));
    }

    bool TakeBlockStart() { return TakePunctuation("{") || (IsWord("BEGIN") && (Take(), true)); }
    bool TakeBlockEnd() { return TakePunctuation("}") || (IsWord("END") && (Take(), true)); }

    void Block(std::vector<MenuItem>& items, int depth)
    {
        if (!TakeBlockStart()) Fail("expected BEGIN" + Found());
        while (!TakeBlockEnd()) {
            if (IsWord("POPUP")) {
                Popup(items, depth);
            } else if (IsWord("MENUITEM")) {
                Item(items, depth);
            } else {
                Fail("expected POPUP, MENUITEM or END" + Found());
            }
        }
    }

    void Popup(std::vector<MenuItem>& items, int depth)
    {
        Take();
        items.push_back(MenuItem { depth, true, false, Text(), 0 });
        RejectItemOptions();
        Block(items, depth + 1);
    }

    void Item(std::vector<MenuItem>& items, int depth)
    {
        Take();
        if (IsWord("SEPARATOR")) {
            Take();
            items.push_back(MenuItem { depth, false, true, "", 0 });
            return;
        }
        std::string text = Text();
        Expect(",");
        int id = Id("a command id");
        RejectItemOptions();
        items.push_back(MenuItem { depth, false, false, std::move(text), id });
    }

    // The table has no room for CHECKED, GRAYED and the like; dropping them
    // quietly would show a different menu than Windows does.
    void RejectItemOptions()
    {
        if (!IsPunctuation(",")) return;
        Take();
        Fail("menu item options such as '" + Peek().text + "' are not supported");
    }

    std::vector<Token> tokens_;
    std::string source_;
    IncludeLoader loadInclude_;
    std::set<std::string> included_;
    size_t pos_ = 0;
    bool utf8_ = false;
    std::map<std::string, long> defines_;
    ResourceScript result_;
};

} // namespace

ResourceScript ParseScript(std::string_view script, const std::string& source, const IncludeLoader& loadInclude)
{
    return Parser(script, source, loadInclude).Run();
}

} // namespace rc
