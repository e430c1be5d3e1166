// The run's state.
#include "session/SetupSession.h"

namespace vesk {

SetupSession::SetupSession(const SystemFacts& system, Registry& systemRegistry,
                           PrivateFiles& privateFiles)
    : registry(systemRegistry, records),
      paths(system, registry),
      texts(system.DefaultLocaleId()),
      runFolder(privateFiles) {
    ChooseLanguage(system, 0);
}

void SetupSession::ChooseLanguage(const SystemFacts& system, std::uint32_t asked) {
    texts.PreferLanguages({asked, system.UserLanguageId(), system.DefaultLocaleId()});
}

std::string SetupSession::TempNameFor(const std::string& path) const {
    return vesk::TempNameFor(path, start.startStamp, paths);
}

}  // namespace vesk
