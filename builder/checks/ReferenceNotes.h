// Short English notes on the engine's vocabularies for the field reference: what each task slot
// is, where each path token leads, where each language text is shown. The names come from the
// engine's own tables (TaskSlots, PathVariable, TextKey); only the notes live here.
#pragma once

#include "project/PathVariable.h"

namespace vesk {

// "Project properties"; "" outside the slots.
const char* TaskTitle(int slot);

// "the current destination folder"; "" for None.
const char* PathTokenNote(PathVariableKind kind);

// Where the setup shows the text of a key ("licence page"); "" for a text the setup never shows
// and for the reserved numbers.
const char* TextKeyNote(int key);

}  // namespace vesk
