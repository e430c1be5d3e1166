// LZMA bodies through the SDK's dictionary interface: the dictionary is the output buffer, and
// what each call decodes into it goes to the sink before the dictionary wraps.
#include "codec/lzma/LzmaBodyDecoder.h"

#include <algorithm>
#include <cstdlib>

// The SDK's Types.h includes <windows.h> when _WIN32 is defined; none of what we use from it
// depends on that, and platform-neutral code stays free of the Windows headers.
#include <cstddef>
#pragma push_macro("_WIN32")
#undef _WIN32
#include "lzma-sdk/LzmaDec.h"
#include "platform/Concat.h"
#include "platform/LittleEndian.h"
#pragma pop_macro("_WIN32")

namespace vesk {
namespace {

void* Allocate(void*, std::size_t size) {
    return std::malloc(size);
}
void Release(void*, void* address) {
    std::free(address);
}
ISzAlloc kHeap = {Allocate, Release};

}  // namespace

struct LzmaBodyDecoder::State {
    CLzmaDec decoder;
};

LzmaBodyDecoder::LzmaBodyDecoder() : state_(new State) {
    LzmaDec_Construct(&state_->decoder);
    Reset();
}

LzmaBodyDecoder::~LzmaBodyDecoder() {
    LzmaDec_Free(&state_->decoder, &kHeap);
}

void LzmaBodyDecoder::Reset() {
    headerFill_ = 0;
    length_ = 0;
    produced_ = 0;
    delivered_ = 0;
    finished_ = false;
    failed_ = false;
    damaged_ = false;
    problem_.clear();
}

std::size_t LzmaBodyDecoder::DictionaryBytes() const {
    return state_->decoder.dic ? state_->decoder.dicBufSize : 0;
}

bool LzmaBodyDecoder::Damage(std::initializer_list<std::string_view> why) {
    failed_ = damaged_ = true;
    problem_ = Concat(why);
    return false;
}

bool LzmaBodyDecoder::Start() {
    CLzmaProps properties;
    if (LzmaProps_Decode(&properties, header_, kLzmaPropertiesSize) != SZ_OK) {
        return Damage({"its LZMA properties are invalid"});
    }
    if (properties.dicSize > kMaxLzmaDictionary) {
        return Damage({"its dictionary of ", std::to_string(properties.dicSize),
                       " bytes passes the ", std::to_string(kMaxLzmaDictionary),
                       " the engine allows"});
    }
    if (properties.lc + properties.lp > kMaxLzmaLiteralBits) {
        return Damage({"its literal context (lc ", std::to_string(properties.lc), ", lp ",
                       std::to_string(properties.lp), ") passes the ",
                       std::to_string(kMaxLzmaLiteralBits), " bits the engine allows"});
    }
    length_ = Get64(header_ + kLzmaPropertiesSize);
    const SRes allocated =
        LzmaDec_Allocate(&state_->decoder, header_, unsigned(kLzmaPropertiesSize), &kHeap);
    if (allocated != SZ_OK) {
        failed_ = true;
        problem_ = "no memory for an LZMA dictionary of ";
        problem_ += std::to_string(properties.dicSize);
        problem_ += " bytes";
        return false;
    }
    LzmaDec_Init(&state_->decoder);
    return true;
}

bool LzmaBodyDecoder::Feed(const std::uint8_t* data, std::size_t size, ByteSink& sink) {
    std::size_t used = 0;
    return FeedUpTo(data, size, used, sink, kLzmaUnknownLength);
}

bool LzmaBodyDecoder::FeedUpTo(const std::uint8_t* data, std::size_t size, std::size_t& used,
                               ByteSink& sink, std::uint64_t outputEnd) {
    used = 0;
    if (failed_) return false;
    const std::size_t given = size;
    while (headerFill_ < kLzmaHeaderSize && size > 0) {
        header_[headerFill_++] = *data++;
        --size;
        if (headerFill_ == kLzmaHeaderSize && !Start()) return false;
    }
    const bool ok = headerFill_ < kLzmaHeaderSize || Decode(data, size, sink, outputEnd);
    used = given - size;
    return ok;
}

bool LzmaBodyDecoder::Decode(const std::uint8_t*& data, std::size_t& size, ByteSink& sink,
                             std::uint64_t outputEnd) {
    CLzmaDec& decoder = state_->decoder;
    // Bytes decoded past the last `outputEnd` wait at the dictionary's end: handed over first.
    // The decoder always runs to the dictionary's end, never to a file's: it keeps input of its
    // own between calls, which a small limit would leave it unable to use.
    auto deliver = [&]() {
        if (delivered_ >= produced_ || delivered_ >= outputEnd) return true;
        const std::uint64_t pending = produced_ - delivered_;
        const SizeT give = SizeT(std::min(pending, outputEnd - delivered_));
        const std::uint8_t* from = decoder.dic + (decoder.dicPos - SizeT(pending));
        delivered_ += give;
        if (sink.Write(from, give)) return true;
        failed_ = true;
        return false;
    };
    for (;;) {
        if (!deliver()) return false;
        if (delivered_ >= outputEnd) return true;
        if (finished_) return size == 0 ? true : Damage({"bytes follow the end of its LZMA data"});
        // Everything decoded is handed over: the dictionary may wrap.
        if (decoder.dicPos == decoder.dicBufSize) decoder.dicPos = 0;
        // With a known length the last call must end exactly there, and says whether it did.
        SizeT limit = decoder.dicBufSize;
        ELzmaFinishMode mode = LZMA_FINISH_ANY;
        if (length_ != kLzmaUnknownLength && length_ - produced_ <= limit - decoder.dicPos) {
            limit = decoder.dicPos + SizeT(length_ - produced_);
            mode = LZMA_FINISH_END;
        }
        const SizeT start = decoder.dicPos;
        SizeT used = size;
        ELzmaStatus status = LZMA_STATUS_NOT_SPECIFIED;
        const SRes result = LzmaDec_DecodeToDic(&decoder, limit, data, &used, mode, &status);
        data += used;
        size -= used;
        const SizeT decoded = decoder.dicPos - start;
        produced_ += decoded;
        // What was decoded before damage was found is kept.
        if (result != SZ_OK) return deliver() && Damage({"its LZMA data is damaged"});
        if (status == LZMA_STATUS_FINISHED_WITH_MARK) {
            if (length_ != kLzmaUnknownLength && produced_ != length_) {
                return Damage({"its LZMA data ends after ", std::to_string(produced_), " of ",
                               std::to_string(length_), " bytes"});
            }
            finished_ = true;
        } else if (length_ != kLzmaUnknownLength && produced_ == length_ &&
                   status == LZMA_STATUS_MAYBE_FINISHED_WITHOUT_MARK) {
            finished_ = true;
        } else if (used == 0 && decoded == 0) {
            return true;  // the next bytes are needed
        }
    }
}

bool LzmaBodyDecoder::Finish() {
    if (failed_) return false;
    if (headerFill_ < kLzmaHeaderSize) return Damage({"it ends inside its LZMA header"});
    if (finished_) return true;
    if (length_ == kLzmaUnknownLength) return Damage({"its LZMA data ends without its end marker"});
    return Damage({"its LZMA data ends after ", std::to_string(produced_), " of ",
                   std::to_string(length_), " bytes"});
}

}  // namespace vesk
