// The whole product on the bench.
#include "install/WholeProduct.h"

#include "install/Components.h"
#include "install/Fonts.h"
#include "install/UserInformation.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"

namespace vesk::test {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const char kCompanyKey[] = "SOFTWARE\\Demo Company\\Demo";

SubTask RegistryItem(const char* root, const char* key, const char* name, const char* value,
                     const char* type, const char* operation, const char* keyOnly,
                     const char* toDelete) {
    SubTask item("10001", SubTaskType::Registry);
    item.Add(FieldKind::RegRootKey, root)
        .Add(FieldKind::RegSubKey, key)
        .Add(FieldKind::RegVarName, name)
        .Add(FieldKind::RegVarValue, value)
        .Add(FieldKind::RegDataType, type)
        .Add(FieldKind::RegOperType, operation)
        .Add(FieldKind::IsOnlyToKey, keyOnly)
        .Add(FieldKind::IsToDelete, toDelete);
    return item;
}

SubTask UserItem(const char* reference, const char* name) {
    SubTask item = RegistryItem("HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Demo Company\\Demo", name, "",
                                "0", "0", "0", "1");
    SubTask edit("10002", SubTaskType::EditBox);
    edit.Add(FieldKind::Description, reference);
    for (const Field& field : item.Fields()) edit.Add(field.Kind(), field.Value());
    return edit;
}

}  // namespace

WholeProduct::WholeProduct(InstallBench& bench) : run(bench) {
    // What the machine holds already: the company's key with a value of an earlier product and
    // the user's name, a log file of the user's in the install folder, the shared-file list.
    run.registry.PutString(kMachine, kCompanyKey, "Version", "0.9");
    run.registry.PutString(kMachine, kCompanyKey, "Obsolete", "old");
    run.registry.PutString(kMachine, kCompanyKey, "UserName", "Somebody");
    run.registry.AddKey(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
    run.registry.AddKey(RegistryRoot::CurrentUser, "Software");
    run.files.Put("C:\\Apps\\Demo\\old.log", "the user's log");
    fonts.registered["Arial (TrueType)"] = "arial.ttf";
    // A Quick Launch folder the user has not got yet.
    run.session.start.quickLaunchPath1 = "C:\\Ann\\Roaming\\Quick Launch\\";
    run.session.start.quickLaunchPath2.clear();

    run.session.programFolder = "Demo";
    for (const char* folder : {"[InstallDir]", "[InstallDir]\\data", "[Start Menu]\\"}) {
        run.session.folders.Add(folder);
    }
    run.AddFile("[InstallDir]\\app.exe", 'A');
    run.AddFile("[InstallDir]\\grid.dll", 'A');
    run.AddFile("[InstallDir]\\data\\a.png", 'N');
    run.AddFile("[TempFileDir]\\settings.reg", 'R');
    run.AddFile("[Windows Directory]\\Fonts\\demo.ttf", 'A');
    run.AddFile("[Windows Directory]\\Vesk-UnInstall.exe", 'U');
    run.Add(kSlotFonts, SubTaskType::GetValue, FieldKind::File,
            "[Windows Directory]\\Fonts\\demo.ttf");
    run.Add(kSlotComponentRegistration, SubTaskType::GetValue, FieldKind::File,
            "[InstallDir]\\grid.dll");
    run.Add(kSlotClearFiles, SubTaskType::GetValue, FieldKind::File, "[InstallDir]\\old.log");
    const char* hklm = "HKEY_LOCAL_MACHINE";
    const char* key = "\\SOFTWARE\\Demo Company\\Demo";
    run.AddSubTask(kSlotRegistry, RegistryItem(hklm, key, "Version", "1.2", "0", "0", "0", "1"));
    run.AddSubTask(kSlotRegistry, RegistryItem(hklm, key, "InstallCount", "1", "1", "0", "0", "1"));
    run.AddSubTask(kSlotRegistry, RegistryItem(hklm, key, "Obsolete", "", "0", "1", "0", "0"));
    run.AddSubTask(kSlotRegistry,
                   RegistryItem("HKEY_CURRENT_USER", "\\Software\\Demo Company\\Demo", "", "", "0",
                                "0", "1", "1"));
    run.AddSubTask(kSlotUserInformation, UserItem("|RegisterInfoUserDesc|", "UserName"));
    run.AddSubTask(kSlotUserInformation, UserItem("|RegisterInfoCompanyDesc|", "Company"));
    SubTask link("10002", SubTaskType::CreateShortcutMenu);
    link.Add(FieldKind::Description, "Demo")
        .Add(FieldKind::Folder, "[InstallDir]")
        .Add(FieldKind::File, "app.exe")
        .Add(FieldKind::IsToFileLinkGroup, "1")
        .Add(FieldKind::IsToDesktop, "1")
        .Add(FieldKind::IsToQuickLaunch, "1");
    run.AddSubTask(kSlotShortcuts, link);
    run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, "1");
    run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall2, "1");
    run.LoadProject();
}

std::string WholeProduct::State() const {
    std::string state = run.registry.Dump();
    for (const auto& file : run.files.files) {
        if (file.first.rfind("C:\\TEMP\\", 0) == 0) continue;
        state += file.first + "=" + file.second + "\n";
    }
    for (const std::string& folder : run.files.folders) state += folder + "\\\n";
    for (const auto& listing : fonts.registered) {
        state += "font " + listing.first + ": " + listing.second + "\n";
    }
    return state;
}

void WholeProduct::LeaveUserPage(const std::string& user, const std::string& company) {
    SaveUserInformation(run.session.SystemRegistry(),
                        run.session.project.FindSlotTask(kSlotUserInformation), user, company,
                        &run.session.records);
}

void WholeProduct::Install() {
    InstallServices services = run.Services();
    SetupSession& session = run.session;
    services.addFont = [this](const std::string& path) {
        AddFont(fonts, path, &run.session.records);
    };
    services.registerComponent = [this](const std::string& value) {
        return RegisterComponent(value, run.session.paths, run.processes, nullptr,
                                 &run.session.records);
    };
    // What the registry data file holds, written as its lines are applied.
    services.applyRegistryDataFile = [&session](const std::string&) {
        RegistryKey key(session.SystemRegistry(), RegistryRoot::CurrentUser);
        key.Open("\\Software\\Demo Company\\Demo\\Settings", true);
        key.WriteString("Theme", "Harbour");
    };
    InstallWorker(session, run.report, services).Run();
}

}  // namespace vesk::test
