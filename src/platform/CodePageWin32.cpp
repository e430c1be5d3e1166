// The running system's ANSI code page decides what a lead byte is.
#include <windows.h>

#include "platform/CodePage.h"

namespace vesk {

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

}  // namespace vesk
