// sample-literals SOURCE COPY: writes COPY, a copy of the C++ file SOURCE
// whose string literals hold their Japanese text as code page 932 bytes.
// Diagnostics of the copy name SOURCE and its lines.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "literal_rewriter.h"

namespace {

// Strict: a character the code page lacks is an error, never a '?'.
bool ToCodePage932(std::string_view utf8, std::string& codePage)
{
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == iconv_t(-1)) return false;
    std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);
    std::string input(utf8);
    codePage.assign(input.size() * 2 + 4, '\0');
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = codePage.data();
    size_t outLeft = codePage.size();
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1)) return false;
    codePage.resize(codePage.size() - outLeft);
    return true;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "sample-literals: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) return Fail("usage: sample-literals SOURCE COPY");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return Fail(std::string("cannot read ") + argv[1] + ": " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    std::string copy, error;
    if (!literals::RewriteLiterals(text.str(), ToCodePage932, copy, error))
        return Fail(std::string(argv[1]) + ": " + error);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << "#line 1 \"" << argv[1] << "\"\n" << copy;
    out.close();
    if (!out) return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
