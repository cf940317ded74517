#include "cp932.h"

#include "rc_error.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace rc {

std::string Utf8ToCp932(const std::string& utf8, const std::string& where)
{
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == iconv_t(-1)) throw RcError("the system cannot convert UTF-8 to code page 932");
    std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);

    std::string input = utf8;
    std::string output(input.size() * 2 + 4, '\0'); // CP932 never needs more bytes than UTF-8
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
        std::string reason = errno == EILSEQ ? "has a character code page 932 cannot hold" : "is not valid UTF-8";
        throw RcError(where + ": text \"" + utf8 + "\" " + reason);
    }
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace rc
