// Finds the document in a single-file web archive (MHT: a MIME multipart/related message) or in
// a single-part MIME message.
#pragma once

#include <optional>
#include <string>

namespace vesk {

struct MimeDocument {
    std::string body;       // the part's bytes, transfer encoding removed
    std::string mediaType;  // lower case; empty when the part names none
    std::string charset;    // lower case; empty when the part names none
};

// The document `bytes` carry when they are a MIME message (a header field first, and
// MIME-Version or Content-Type among the headers): the first text/html part in the order of the
// archive (nested multiparts searched too), else the first text/plain or untyped part. None when
// `bytes` are no MIME message or hold no such part. Bounded work: nesting is followed a few
// levels deep and each level reads its bytes once.
std::optional<MimeDocument> ReadMimeDocument(const std::string& bytes);

}  // namespace vesk
