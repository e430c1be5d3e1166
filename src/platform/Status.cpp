// The failure of a Status.
#include "platform/Status.h"

#include <utility>

namespace vesk {

Status Status::Failure(std::string reason) {
    Status status;
    status.reason_ = reason.empty() ? std::string("failed") : std::move(reason);
    return status;
}

}  // namespace vesk
