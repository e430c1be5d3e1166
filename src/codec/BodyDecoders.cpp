// The one place that maps a body method to its decoder.
#include "codec/BodyDecoders.h"

#include "codec/lzma/LzmaBodyDecoder.h"
#include "codec/lzss/LzssDecoder.h"

namespace vesk {
namespace {

std::unique_ptr<BodyDecoder> MakeDecoder(BodyMethod method) {
    switch (method) {
        case BodyMethod::Lzma:
        case BodyMethod::LzmaSolid:  // each block is an LZMA body
            return std::unique_ptr<BodyDecoder>(new LzmaBodyDecoder);
        case BodyMethod::Lzss:
            break;
    }
    return std::unique_ptr<BodyDecoder>(new LzssDecoder);
}

}  // namespace

BodyDecoders::BodyDecoders() = default;
BodyDecoders::~BodyDecoders() = default;

BodyDecoder& BodyDecoders::For(BodyMethod method) {
    std::unique_ptr<BodyDecoder>& decoder = decoders_[std::size_t(method)];
    if (!decoder) decoder = MakeDecoder(method);
    return *decoder;
}

}  // namespace vesk
