// Answering the install's questions when nobody watches.
#include "install/UnattendedReport.h"

namespace vesk {

bool UnattendedReport::AskYesNo(const std::string& text, const std::string& caption, QuestionIcon) {
    log_.Add(LogKind::Error, {caption, ": ", text, " -- answered Yes, nobody to ask"});
    return true;
}

void UnattendedReport::Tell(const std::string& text, const std::string& caption) {
    log_.Add(LogKind::Error, {caption, ": ", text});
}

}  // namespace vesk
