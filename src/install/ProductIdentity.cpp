// Product identities and their records' names.
#include "install/ProductIdentity.h"

#include "container/Crc32.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

constexpr std::size_t kReadablePart = 64;

bool HoldableInName(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20) return false;
    for (const char refused : std::string("\\/:*?\"<>|")) {
        if (c == refused) return false;
    }
    return true;
}

}  // namespace

std::string ProductIdentity(const InstallProject& project) {
    const std::string task = TaskIdForSlot(kSlotProjectProperties);
    const std::string& id = project.GetValue(task, SubTaskType::GetAllVar, FieldKind::ProductId);
    if (!id.empty()) return id;
    const std::string& company =
        project.GetValue(task, SubTaskType::GetAllVar, FieldKind::CompanyDesc);
    return company.empty() ? project.ProjectName() : company + "\\" + project.ProjectName();
}

std::string RecordFileName(const std::string& identity) {
    std::string name;
    for (const char c : identity.substr(0, kReadablePart)) name += HoldableInName(c) ? c : '_';
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    const std::string upper = UpperName(identity);
    const std::uint32_t crc =
        Crc32::Of(reinterpret_cast<const std::uint8_t*>(upper.data()), upper.size());
    static const char kHex[] = "0123456789ABCDEF";
    name += '-';
    for (int shift = 28; shift >= 0; shift -= 4) name += kHex[(crc >> shift) & 15];
    return name + kRecordExtension;
}

}  // namespace vesk
