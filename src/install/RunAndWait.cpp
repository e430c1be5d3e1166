// Running a program and waiting for its end.
#include "install/RunAndWait.h"

#include "platform/Concat.h"
#include "project/PathParts.h"

namespace vesk {

std::string Quoted(std::string_view text) {
    return Concat({"\"", text, "\""});
}

std::uint32_t RunAndWait(Processes& processes, const std::string& path, int show,
                         const FailureNotice& notice) {
    const std::optional<std::uint32_t> code =
        processes.RunAndWait(path, Quoted(path), FolderOf(path), show);
    if (code) return *code;
    if (notice) notice(kCreateProcessFailedText);
    return kCreateProcessFailed;
}

}  // namespace vesk
