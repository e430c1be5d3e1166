// The readme page.
#pragma once

#include "wizard/DocumentPageWin32.h"

namespace vesk {

// The readme page: the document alone.
class CShowReadme : public DocumentPage {
public:
    explicit CShowReadme(SetupSession& session);

private:
    bool OnInitDialog() override;
};

}  // namespace vesk
