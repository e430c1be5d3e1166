// Fuzzes the reading of a product record: any bytes read without a fault; a record that reads
// is written back to the same text and reads again to the same record, and its uninstall plan
// never removes a drive root or a folder of the system.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/NameCase.h"
#include "session/ProductRecord.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "uninstaller/RecordPlan.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vesk::ProductRecord record;
    if (!vesk::ReadRecordText(text, record)) return 0;
    const std::string written = vesk::RecordText(record);
    vesk::ProductRecord again;
    Check(vesk::ReadRecordText(written, again));
    Check(vesk::RecordText(again) == written);

    vesk::test::FakeSystemFacts facts;
    vesk::test::MemoryRegistry registry;
    vesk::PathResolver paths(facts, registry, "C:\\App");
    const vesk::UninstallPlan plan = vesk::PlanFromRecord(record, "C:\\R.rec", paths);
    for (const vesk::Removal& removal : plan.removals) {
        if (removal.kind != vesk::RemovalKind::Folder) continue;
        const std::string folder = vesk::UpperName(removal.path);
        Check(folder.size() > 3);
        Check(folder != "C:\\WINDOWS" && folder.rfind("C:\\WINDOWS\\", 0) != 0);
    }
    return 0;
}
