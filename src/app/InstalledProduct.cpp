// Finding the installed version of the product.
#include "app/InstalledProduct.h"

#include <algorithm>
#include <cctype>

#include "install/ProductIdentity.h"
#include "platform/Concat.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

std::vector<std::string> PartsOf(const std::string& version) {
    std::vector<std::string> parts(1);
    for (const char c : version) {
        if (c == '.') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

int ComparePart(const std::string& a, const std::string& b) {
    auto digits = [](const std::string& part) {
        std::size_t n = 0;
        while (n < part.size() && std::isdigit(static_cast<unsigned char>(part[n]))) ++n;
        return n;
    };
    const std::size_t digitsA = digits(a), digitsB = digits(b);
    if (digitsA > 0 && digitsB > 0) {
        // By value, whatever the leading zeros and length.
        std::string numberA = a.substr(0, digitsA), numberB = b.substr(0, digitsB);
        numberA.erase(0, std::min(numberA.find_first_not_of('0'), numberA.size()));
        numberB.erase(0, std::min(numberB.find_first_not_of('0'), numberB.size()));
        if (numberA.size() != numberB.size()) return numberA.size() < numberB.size() ? -1 : 1;
        if (numberA != numberB) return numberA < numberB ? -1 : 1;
        return ComparePart(a.substr(digitsA), b.substr(digitsB));
    }
    const std::string upperA = UpperName(a), upperB = UpperName(b);
    if (upperA == upperB) return 0;
    return upperA < upperB ? -1 : 1;
}

const std::string& ProductVersion(const SetupSession& session) {
    return session.project.GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar,
                                    FieldKind::ProductVersion);
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
    const std::vector<std::string> partsA = PartsOf(a), partsB = PartsOf(b);
    for (std::size_t i = 0; i < std::max(partsA.size(), partsB.size()); ++i) {
        const std::string partA = i < partsA.size() ? partsA[i] : "0";
        const std::string partB = i < partsB.size() ? partsB[i] : "0";
        if (const int order =
                ComparePart(partA.empty() ? "0" : partA, partB.empty() ? "0" : partB)) {
            return order;
        }
    }
    return 0;
}

InstalledVersion FindInstalledProduct(SetupSession& session, const FileSystem& files) {
    session.installed.reset();
    session.installedRecordPath.clear();
    const std::string identity = ProductIdentity(session.project);
    const std::string path = Concat(
        {session.Resolve(RecordsFolderOf(session.paths.Scope())), "\\", RecordFileName(identity)});
    const std::optional<std::string> text = files.ReadWholeFile(path);
    ProductRecord record;
    if (!text || !ReadRecordText(*text, record) || !SameName(record.identity, identity)) {
        return InstalledVersion::None;
    }
    session.installed = std::move(record);
    session.installedRecordPath = path;
    const int order = CompareVersions(ProductVersion(session), session.installed->version);
    if (order > 0) return InstalledVersion::Older;
    return order == 0 ? InstalledVersion::Same : InstalledVersion::Newer;
}

std::string OlderOverNewerQuestion(const SetupSession& session) {
    return Concat({session.installed ? session.installed->title : std::string(),
                   " is installed, a newer version than this setup's ",
                   session.project.ProjectName(), " ", ProductVersion(session),
                   ". Replace it with the older version?"});
}

std::string OlderOverNewerRefusal(const SetupSession& session) {
    return Concat({"not installed: ", session.installed ? session.installed->title : std::string(),
                   ", a newer version, is installed (an older version goes over a newer one only "
                   "in the wizard, when the user confirms)"});
}

}  // namespace vesk
