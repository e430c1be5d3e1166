// LZMA bodies through the SDK's streaming encoder: it pulls the input and pushes the output.
#include "codec/lzma/LzmaBodyEncoder.h"

#include <cstdlib>

#include "codec/lzma/LzmaFormat.h"
#include "platform/LittleEndian.h"

// The SDK's Types.h includes <windows.h> when _WIN32 is defined; nothing we use depends on it.
#include <cstddef>
#pragma push_macro("_WIN32")
#undef _WIN32
#include "lzma-sdk/LzmaEnc.h"
#pragma pop_macro("_WIN32")

namespace vesk {
namespace {

constexpr std::uint32_t kSmallestDictionary = 64u << 10;
constexpr int kLevel = 9;  // the SDK's strongest: binary trees, 64-byte fast bytes

void* Allocate(void*, std::size_t size) {
    return std::malloc(size);
}
void Release(void*, void* address) {
    std::free(address);
}
ISzAlloc kHeap = {Allocate, Release};

// The SDK's stream interfaces in front of ours; the SDK hands back the address of the first
// member, which is the address of the whole.
struct InStream {
    ISeqInStream vt;
    ByteSource* source;
    bool failed;
};
struct OutStream {
    ISeqOutStream vt;
    ByteSink* sink;
    std::uint64_t written;
    bool failed;
};

SRes ReadIn(void* p, void* buffer, std::size_t* size) {
    InStream* in = static_cast<InStream*>(p);
    std::size_t got = 0;
    if (!in->source->Read(static_cast<std::uint8_t*>(buffer), *size, got)) {
        in->failed = true;
        *size = 0;
        return SZ_ERROR_READ;
    }
    *size = got;
    return SZ_OK;
}

std::size_t WriteOut(void* p, const void* data, std::size_t size) {
    OutStream* out = static_cast<OutStream*>(p);
    if (out->failed || !out->sink->Write(static_cast<const std::uint8_t*>(data), size)) {
        out->failed = true;
        return 0;
    }
    out->written += size;
    return size;
}

}  // namespace

std::uint32_t LzmaDictionaryFor(std::uint64_t largest, std::uint32_t most) {
    for (std::uint64_t size = kSmallestDictionary; size < most; size <<= 1) {
        if (largest <= size) return std::uint32_t(size);
        if (largest <= size / 2 * 3 && size / 2 * 3 < most) return std::uint32_t(size / 2 * 3);
    }
    return most;
}

bool LzmaBodyEncoder::Encode(ByteSource& source, std::uint64_t length, ByteSink& sink) {
    error_.clear();
    bytesOut_ = 0;
    CLzmaEncHandle encoder = LzmaEnc_Create(&kHeap);
    if (!encoder) {
        error_ = "no memory for the LZMA encoder";
        return false;
    }
    CLzmaEncProps properties;
    LzmaEncProps_Init(&properties);
    properties.level = kLevel;
    properties.dictSize = dictionary_;
    properties.reduceSize = length < dictionary_ ? std::uint32_t(length) : dictionary_;
    properties.numThreads = 1;
    properties.writeEndMark = 0;  // the header holds the length
    std::uint8_t header[kLzmaHeaderSize];
    SizeT propertiesSize = kLzmaPropertiesSize;
    SRes result = LzmaEnc_SetProps(encoder, &properties);
    if (result == SZ_OK) result = LzmaEnc_WriteProperties(encoder, header, &propertiesSize);
    if (result != SZ_OK) {
        LzmaEnc_Destroy(encoder, &kHeap, &kHeap);
        error_ = "the LZMA encoder refused its settings (error " + std::to_string(result) + ")";
        return false;
    }
    // The set's dictionary, not the reduced one the encoder works with.
    Put32(header + 1, dictionary_);
    Put64(header + kLzmaPropertiesSize, length);

    InStream in = {{ReadIn}, &source, false};
    OutStream out = {{WriteOut}, &sink, 0, false};
    if (WriteOut(&out, header, sizeof header) == sizeof header) {
        result = LzmaEnc_Encode(encoder, &out.vt, &in.vt, nullptr, &kHeap, &kHeap);
    }
    LzmaEnc_Destroy(encoder, &kHeap, &kHeap);
    bytesOut_ = out.written;
    if (in.failed || out.failed) return false;
    if (result != SZ_OK) {
        error_ = result == SZ_ERROR_MEM
                     ? "no memory for the LZMA encoder's dictionary of " +
                           std::to_string(dictionary_) + " bytes"
                     : "the LZMA encoder failed (error " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

}  // namespace vesk
