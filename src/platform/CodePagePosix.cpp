// Native builds have no system ANSI code page: they follow the project files' GB2312 (936).
#include "platform/CodePage.h"

namespace vesk {

bool IsSystemLeadByte(unsigned char byte) { return IsLeadByte(byte, DoubleByteRules::SimplifiedChinese); }

}  // namespace vesk
