// What the system's ANSI code page says about a byte: whether it opens a double-byte character.
#pragma once

namespace vesk {

// Code pages whose lead-byte rules the platform-neutral code knows by itself.
enum class DoubleByteRules {
    None,                // single-byte code pages (1252 and the like)
    SimplifiedChinese,   // 936: lead bytes 0x81..0xFE
    TraditionalChinese,  // 950: lead bytes 0x81..0xFE
    Japanese,            // 932: lead bytes 0x81..0x9F, 0xE0..0xFC
    Korean,              // 949: lead bytes 0x81..0xFE
};

// Lead-byte test of the engine's own texts: they are UTF-8, whose multibyte characters hold no
// byte below 0x80, so no byte is a lead byte that could hide an ASCII one after it. Texts still
// in a double-byte code page are decoded where they are read (platform/TextDecoding.h).
inline bool IsSystemLeadByte(unsigned char) {
    return false;
}

bool IsLeadByte(unsigned char byte, DoubleByteRules rules);

}  // namespace vesk
