// Lead-byte ranges of the double-byte code pages.
#include "platform/CodePage.h"

namespace vesk {

bool IsLeadByte(unsigned char byte, DoubleByteRules rules) {
    switch (rules) {
        case DoubleByteRules::None: return false;
        case DoubleByteRules::Japanese: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case DoubleByteRules::SimplifiedChinese:
        case DoubleByteRules::TraditionalChinese:
        case DoubleByteRules::Korean: return byte >= 0x81 && byte <= 0xFE;
    }
    return false;
}

}  // namespace vesk
