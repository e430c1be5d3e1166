// The decoders of every body method, for a reader that may meet any of them.
#pragma once

#include <memory>

#include "codec/BodyDecoder.h"
#include "codec/BodyMethod.h"

namespace vesk {

// Each method's decoder is made when a body of that method is first decoded and kept for the
// next bodies: a set uses one method (and the project section LZSS), so a reader holds one or two.
class BodyDecoders {
public:
    BodyDecoders();
    ~BodyDecoders();
    BodyDecoders(const BodyDecoders&) = delete;
    BodyDecoders& operator=(const BodyDecoders&) = delete;

    BodyDecoder& For(BodyMethod method);

private:
    std::unique_ptr<BodyDecoder> decoders_[kBodyMethodCount];
};

}  // namespace vesk
