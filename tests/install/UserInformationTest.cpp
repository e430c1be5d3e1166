// The user information page's data: the registered user read by system family, and the EditBox
// subtasks its texts are written to.
#include <gtest/gtest.h>

#include "install/UserInformation.h"
#include "project/TaskSlots.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::MemoryRegistry;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

TEST(UserInformationTest, TheRegisteredUserComesFromTheKeyOfTheSystemFamily) {
    struct Case {
        const char* system;
        const char* owner;
    };
    const Case cases[] = {{"98", "Nine"}, {"Me", "Nine"}, {"95", "Nt"},
                          {"NT4", "Nt"},  {"XP", "Nt"},   {"Vista", "Nt"}};
    MemoryRegistry registry;
    registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "RegisteredOwner",
                       "Nine");
    registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       "RegisteredOwner", "Nt");
    registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       "RegisteredOrganization", "Works");
    for (const Case& c : cases) {
        test::FakeSystemFacts system;
        system.ActAs(c.system);
        const RegisteredUser user = ReadRegisteredUser(registry, system);
        EXPECT_EQ(user.owner, c.owner) << c.system;
        // No organisation under the 9x key: an empty company.
        EXPECT_EQ(user.organization, std::string(c.owner) == "Nt" ? "Works" : "") << c.system;
    }
    EXPECT_EQ(registry.OpenHandles(), 0);
}

SubTask EditBox(const std::string& description, const std::string& root, const std::string& name,
                SubTaskType type = SubTaskType::EditBox) {
    SubTask subtask("10002", type);
    subtask.Add(FieldKind::PosX, "133");
    subtask.Add(FieldKind::Description, description);
    subtask.Add(FieldKind::RegRootKey, root);
    subtask.Add(FieldKind::RegSubKey, "\\SOFTWARE\\Vendor\\Tool");
    subtask.Add(FieldKind::RegVarName, name);
    subtask.Add(FieldKind::RegVarValue, "preset");
    subtask.Add(FieldKind::RegDataType, "0");
    subtask.Add(FieldKind::RegOperType, "0");
    subtask.Add(FieldKind::IsOnlyToKey, "0");
    return subtask;
}

TEST(UserInformationTest, EditBoxesNamedByTheLabelTokensReceiveTheTexts) {
    Task task = Task::ForSlot(kSlotUserInformation, true);
    task.Add(EditBox("|RegisterInfoUserDesc|", "HKEY_LOCAL_MACHINE", "User"));
    task.Add(EditBox("|registerinfocompanydesc|", "HKEY_LOCAL_MACHINE", "Company"));
    task.Add(EditBox("|REGISTERINFOUSERDESC|", "HKEY_CURRENT_USER", "Owner"));
    task.Add(EditBox("|ProjectName|", "HKEY_LOCAL_MACHINE", "Other"));
    task.Add(EditBox(" |RegisterInfoUserDesc|", "HKEY_LOCAL_MACHINE", "Spaced"));
    task.Add(
        EditBox("|RegisterInfoUserDesc|", "HKEY_LOCAL_MACHINE", "Item", SubTaskType::Registry));

    MemoryRegistry registry;
    const std::string key = "SOFTWARE\\Vendor\\Tool";
    auto value = [&](RegistryRoot root, const char* name) {
        return registry.StringValue(root, key, name).value_or("absent");
    };
    struct Leave {
        const char* user;
        const char* company;
    };
    // Leaving the page again writes the newer texts over the earlier ones.
    for (const Leave& leave : {Leave{"Ann", "Works"}, Leave{"Bob", "Shop"}}) {
        SaveUserInformation(registry, &task, leave.user, leave.company);
        EXPECT_EQ(value(kMachine, "User"), leave.user);
        EXPECT_EQ(value(kMachine, "Company"), leave.company);
        EXPECT_EQ(value(RegistryRoot::CurrentUser, "Owner"), leave.user);
        EXPECT_EQ(value(kMachine, "Other"), "absent");
        EXPECT_EQ(value(kMachine, "Spaced"), "absent");
        EXPECT_EQ(value(kMachine, "Item"), "absent");
    }
    SaveUserInformation(registry, nullptr, "Ann", "Works");  // no task: nothing to do
    EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace vesk
