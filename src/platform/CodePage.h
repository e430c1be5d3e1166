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

// Lead-byte test of the running system's ANSI code page: IsDBCSLeadByte on Windows; natively
// the rules of code page 936, which the project files declare.
bool IsSystemLeadByte(unsigned char byte);

bool IsLeadByte(unsigned char byte, DoubleByteRules rules);

}  // namespace vesk
