// A product with every kind of change an install makes, on a machine that already holds some of
// what it touches: for the tests that a rollback and an uninstall give that machine back.
#pragma once

#include <string>

#include "install/InstallBench.h"
#include "support/RecordingFonts.h"

namespace vesk::test {

// The machine, the project and the engine's own item operations on the bench.
struct WholeProduct {
    explicit WholeProduct(InstallBench& bench);

    // Everything but the temporary folder: the registry, the files, the folders, the fonts
    // listings, one line each, so two states compare as texts.
    std::string State() const;
    // Saves the user information page's values, as leaving the page does, journalled.
    void LeaveUserPage(const std::string& user, const std::string& company);
    // The bench's project loaded and the worker run with the engine's registration, font and
    // (in memory) registry data operations.
    void Install();

    InstallBench& run;
    RecordingFonts fonts;
};

}  // namespace vesk::test
