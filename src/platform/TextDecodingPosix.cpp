// Code pages decoded by iconv; the native ANSI code page is 1252.
#include <iconv.h>

#include <cerrno>

#include "platform/TextDecoding.h"
#include "platform/Utf8.h"

namespace vesk {
namespace {

const char* IconvName(unsigned codePage) {
    switch (codePage) {
        case kGb2312CodePage:
            return "CP936";
        case kBig5CodePage:
            return "CP950";
        case kAnsiCodePage:
        default:
            return "CP1252";
    }
}

// One iconv descriptor for one conversion, closed on every way out.
class Converter {
public:
    explicit Converter(const char* from) : handle_(iconv_open("UTF-8", from)) {}
    ~Converter() {
        if (Valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return handle_; }

private:
    iconv_t handle_;
};

}  // namespace

std::string DecodeWithSystem(const std::string& bytes, unsigned codePage) {
    Converter converter(IconvName(codePage));
    if (!converter.Valid()) return std::string(bytes.size(), '?');
    std::string out;
    std::string in = bytes;
    char* inAt = &in[0];
    std::size_t inLeft = in.size();
    char block[1024];
    while (inLeft > 0) {
        char* outAt = block;
        std::size_t outLeft = sizeof block;
        const std::size_t done = iconv(converter.Handle(), &inAt, &inLeft, &outAt, &outLeft);
        out.append(block, std::size_t(outAt - block));
        if (done != std::size_t(-1) || errno == E2BIG) continue;
        // A byte that starts no character, or a character cut off at the end: one stand-in,
        // then on with the next byte.
        AppendUtf8(out, kReplacementCharacter);
        ++inAt;
        --inLeft;
    }
    return out;
}

}  // namespace vesk
