// What the container reader asks of the decoder of a body method: bytes in, in pieces of any
// size, decoded bytes out to a sink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "codec/ByteSink.h"

namespace vesk {

// One decoder serves every body of a set in turn: Reset, Feed the body's stored bytes in pieces,
// Flush, and (when every stored byte was fed) Complete. Decoding allocates nothing beyond what a
// method keeps for the whole set (the LZMA dictionary).
class BodyDecoder {
public:
    virtual ~BodyDecoder() = default;

    // Starts a new body.
    virtual void Reset() = 0;

    // Decodes `size` more stored bytes; decoded bytes go to `sink` as the method produces them.
    // False when the body is damaged (Damaged), the method's memory cannot be had (Problem), or
    // the sink refused bytes (Problem empty). After a false every further call is false.
    virtual bool Feed(const std::uint8_t* data, std::size_t size, ByteSink& sink) = 0;

    // Writes what is still held back, also when the input broke off: what was decoded is kept.
    // False when the sink refused bytes.
    virtual bool Flush(ByteSink& sink) = 0;

    // Every stored byte has been fed: false when the data ended before the body did (damaged).
    virtual bool Complete() = 0;

    virtual bool Damaged() const = 0;
    // What went wrong, in words; empty when nothing did, or the sink refused bytes.
    virtual const std::string& Problem() const = 0;
    // Bytes produced since Reset.
    virtual std::uint64_t OutputCount() const = 0;
};

}  // namespace vesk
