// The report page and the summary.
#include "builder/trial/TrialReport.h"

#include <cstdio>

#include "builder/trial/ChangeText.h"
#include "builder/trial/WalkAccountFormat.h"
#include "builder/trial/WineText.h"

namespace vesk::trial {
namespace {

// The most of Wine's own changes the page lists; the rest are counted.
constexpr std::size_t kShownWineChanges = 300;

constexpr char kStyle[] = R"(
body { font: 15px/1.45 system-ui, sans-serif; margin: 2em auto; max-width: 80em; padding: 0 1em;
       color: #1d1d1f; }
h1 { font-size: 1.6em; margin-bottom: .2em; }
h2 { font-size: 1.25em; margin-top: 2em; border-bottom: 1px solid #ccc; }
h3 { font-size: 1.05em; }
.verdict { padding: .7em 1em; border-radius: 6px; font-weight: 600; }
.clean { background: #e3f4e6; border: 1px solid #5aa36a; }
.failed { background: #fbe4e4; border: 1px solid #c84848; }
table { border-collapse: collapse; margin: .5em 0 1em; width: 100%; }
th, td { border: 1px solid #ddd; padding: .25em .5em; text-align: left; vertical-align: top; }
th { background: #f3f3f3; }
td.number { text-align: right; white-space: nowrap; }
td { overflow-wrap: break-word; }
code { overflow-wrap: anywhere; }
.pages { display: flex; flex-wrap: wrap; gap: 1em; }
figure { margin: 0; border: 1px solid #ddd; padding: .5em; background: #fafafa; }
figure img { display: block; max-width: 100%; }
figcaption { font-size: .9em; margin-top: .3em; max-width: 40em; white-space: pre-wrap; }
.note { color: #555; }
)";

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

const char* ChangeWord(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::Added:
            return "added";
        case ChangeKind::Changed:
            return "changed";
        case ChangeKind::Removed:
            return "removed";
    }
    return "";
}

// One table: its header cells and rows of cells (already escaped).
class Table {
public:
    // No heads: a table without a header row.
    explicit Table(std::initializer_list<const char*> heads) {
        html_ = "<table>";
        if (heads.size() == 0) return;
        html_ += "<tr>";
        for (const char* head : heads) html_ += std::string("<th>") + head + "</th>";
        html_ += "</tr>\n";
    }
    void Row(std::initializer_list<std::string> cells) {
        html_ += "<tr>";
        for (const std::string& cell : cells) html_ += "<td>" + cell + "</td>";
        html_ += "</tr>\n";
        ++rows_;
    }
    // The table, or `empty` as a note when it has no rows.
    std::string Html(const char* empty) const {
        if (rows_ == 0) return std::string("<p class=\"note\">") + empty + "</p>\n";
        return html_ + "</table>\n";
    }

private:
    std::string html_;
    std::size_t rows_ = 0;
};

std::string Size(const FileChange& change) {
    if (change.type != EntryType::File) return "";
    if (change.kind == ChangeKind::Changed) {
        return GroupedNumber(change.sizeBefore) + " &rarr; " + GroupedNumber(change.sizeAfter);
    }
    return GroupedNumber(change.kind == ChangeKind::Removed ? change.sizeBefore : change.sizeAfter);
}

std::string FilesTable(const std::vector<FileChange>& files, const char* empty) {
    Table table({"Path", "Bytes", "Change"});
    for (const FileChange& file : files) {
        table.Row({"<code>" + Escape(file.path) + "</code>", Size(file), ChangeWord(file.kind)});
    }
    return table.Html(empty);
}

std::string ValueName(const RegistryChange& change) {
    return change.name.empty() ? "<i>(default)</i>" : "<code>" + Escape(change.name) + "</code>";
}

std::string ValueData(const RegistryChange& change) {
    const ValueView before = ViewValue(change.before), after = ViewValue(change.after);
    switch (change.kind) {
        case ChangeKind::Added:
            return Escape(after.text);
        case ChangeKind::Removed:
            return Escape(before.text);
        case ChangeKind::Changed:
            return Escape(before.text) + " &rarr; " + Escape(after.text);
    }
    return "";
}

std::string ValueType(const RegistryChange& change) {
    return ViewValue(change.kind == ChangeKind::Removed ? change.before : change.after).type;
}

std::string RegistryTable(const std::vector<RegistryChange>& changes, const char* empty) {
    Table table({"Key", "Value", "Type", "Data", "Change"});
    for (const RegistryChange& change : changes) {
        if (change.wholeKey) {
            table.Row({"<code>" + Escape(change.key) + "</code>", "<i>(the key)</i>", "", "",
                       ChangeWord(change.kind)});
        } else {
            table.Row({"<code>" + Escape(change.key) + "</code>", ValueName(change),
                       ValueType(change), ValueData(change), ChangeWord(change.kind)});
        }
    }
    return table.Html(empty);
}

// The shortcut's reading through the link service, found by its path.
const ShortcutReading* ReadingOf(const TrialResult& result, const std::string& link) {
    for (const ShortcutReading& reading : result.removal.shortcuts) {
        if (reading.link == link) return &reading;
    }
    return nullptr;
}

std::string ShortcutsTable(const TrialResult& result) {
    Table table({"Shortcut", "Target", "Arguments", "Working folder", "Icon", "Description"});
    for (const FileChange& link : result.installed.shortcuts) {
        const ShortcutReading* reading = ReadingOf(result, link.path);
        const std::string path = "<code>" + Escape(link.path) + "</code>";
        if (!reading) {
            table.Row({path, "<i>not read</i>", "", "", "", ""});
        } else if (!reading->unreadWhy.empty()) {
            table.Row({path, "<i>cannot be read: " + Escape(reading->unreadWhy) + "</i>", "", "",
                       "", ""});
        } else {
            table.Row({path, "<code>" + Escape(reading->target) + "</code>",
                       Escape(reading->arguments), "<code>" + Escape(reading->folder) + "</code>",
                       Escape(reading->icon), Escape(reading->description)});
        }
    }
    return table.Html("The install made no shortcut.");
}

std::string Pictures(const TrialResult& result, const WalkAccount& walk) {
    std::string html = "<div class=\"pages\">\n";
    std::size_t shown = 0;
    for (const WalkStep& step : walk.steps) {
        std::string caption = step.kind == account::kPage     ? "Page: " + step.text
                              : step.kind == account::kWindow ? "Window: " + step.text
                                                              : "Message: " + step.text;
        html += "<figure>";
        if (!step.picture.empty()) {
            html += "<img src=\"" + Escape(result.pictures + "/" + step.picture) + "\" alt=\"" +
                    Escape(caption) + "\">";
        }
        html += "<figcaption>" +
                Escape(step.picture.empty() ? caption + " (no picture)" : caption) +
                "</figcaption></figure>\n";
        ++shown;
    }
    if (!shown) return "<p class=\"note\">No window was met.</p>\n";
    return html + "</div>\n";
}

std::string WinesList(const MachineChanges& changes) {
    std::string html;
    std::size_t listed = 0;
    for (const RegistryChange& change : changes.registry) {
        if (listed++ < kShownWineChanges) {
            html += "<li>" +
                    Escape(std::string(ChangeWord(change.kind)) + ": " + DescribeRegistry(change)) +
                    "</li>\n";
        }
    }
    for (const FileChange& change : changes.files) {
        if (listed++ < kShownWineChanges) {
            html += "<li>" +
                    Escape(std::string(ChangeWord(change.kind)) + ": " + DescribeFile(change)) +
                    "</li>\n";
        }
    }
    if (listed > kShownWineChanges) {
        html += "<li>... and " + std::to_string(listed - kShownWineChanges) + " more</li>\n";
    }
    return html;
}

// "1 file", "2 files".
std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::size_t Count(const MachineChanges& changes) {
    return changes.registry.size() + changes.files.size();
}

std::string ExitText(bool ended, long code) {
    return ended ? std::to_string(code) : std::string("did not end");
}

std::string Facts(const TrialResult& result) {
    Table table({});
    table.Row({"Setup", "<code>" + Escape(result.setupPath) + "</code>"});
    table.Row({"Run", result.silent ? "unattended (/S, then the quiet uninstall command)"
                                    : "through the wizard with every default, then the "
                                      "uninstaller's window"});
    table.Row({"Screen", std::to_string(result.dpi) + " DPI"});
    table.Row({"Setup's exit code", ExitText(result.install.setupEnded, result.install.setupExit)});
    table.Row({"Installed into", "<code>" + Escape(InstallFolder(result)) + "</code>"});
    if (result.removalRan) {
        table.Row(
            {"Uninstall command", "<code>" + Escape(result.removal.uninstallCommand) + "</code>"});
        table.Row({"Uninstaller's exit code",
                   ExitText(result.removal.uninstallerEnded, result.removal.uninstallerExit)});
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s", result.seconds);
    table.Row({"Time", seconds});
    return table.Html("");
}

std::string UninstallEntries(const TrialResult& result) {
    std::string html;
    for (const UninstallEntryView& entry : result.installed.uninstallEntries) {
        html += "<p><code>" + Escape(entry.key) + "</code></p>\n";
        Table table({"Value", "Type", "Data"});
        for (const RegistryChange& value : entry.values) {
            table.Row({ValueName(value), ValueType(value), ValueData(value)});
        }
        html += table.Html("The entry holds no value.");
    }
    return html.empty() ? "<p class=\"note\">The install made no uninstall entry.</p>\n" : html;
}

}  // namespace

std::string ProductName(const TrialResult& result) {
    for (const UninstallEntryView& entry : result.installed.uninstallEntries) {
        for (const RegistryChange& value : entry.values) {
            if (value.name == "DisplayName") return ViewValue(value.after).text;
        }
        return entry.name;
    }
    const std::size_t slash = result.setupPath.find_last_of('/');
    return slash == std::string::npos ? result.setupPath : result.setupPath.substr(slash + 1);
}

std::string InstallFolder(const TrialResult& result) {
    for (const UninstallEntryView& entry : result.installed.uninstallEntries) {
        for (const RegistryChange& value : entry.values) {
            if (value.name == "InstallLocation") return ViewValue(value.after).text;
        }
    }
    return result.install.destination;
}

std::string ReportHtml(const TrialResult& result, const Findings& found) {
    const std::vector<std::string> findings = found.All();
    const InstallReading& in = result.installed;
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>" +
        Escape(ProductName(result)) + ": veskbuild try</title>\n<style>" + kStyle +
        "</style></head><body>\n";
    html += "<h1>" + Escape(ProductName(result)) + "</h1>\n";
    if (findings.empty()) {
        html +=
            "<p class=\"verdict clean\">Installed and removed again: nothing was left behind."
            "</p>\n";
    } else {
        html += "<p class=\"verdict failed\">" + std::to_string(findings.size()) +
                (findings.size() == 1 ? " finding" : " findings") + "</p>\n<ul>\n";
        for (const std::string& finding : findings) html += "<li>" + Escape(finding) + "</li>\n";
        html += "</ul>\n";
    }
    html += Facts(result);

    html += "<h2>The setup's windows</h2>\n" + Pictures(result, result.install);
    html += "<h2>What the install did</h2>\n";
    html += "<h3>Files (" + std::to_string(in.files.size()) + ")</h3>\n" +
            FilesTable(in.files, "The install wrote no file.");
    html += "<h3>Folders (" + std::to_string(in.folders.size()) + ")</h3>\n" +
            FilesTable(in.folders, "The install made no folder.");
    html += "<h3>Shortcuts (" + std::to_string(in.shortcuts.size()) +
            "), read through the shell's link service</h3>\n" + ShortcutsTable(result);
    html += "<h3>Fonts</h3>\n" + FilesTable(in.fontFiles, "The install added no font file.") +
            RegistryTable(in.fontValues, "The install listed no font.");
    html += "<h3>Registry (" + std::to_string(in.registry.size()) + ")</h3>\n" +
            RegistryTable(in.registry, "The install wrote nothing to the registry.");
    html += "<h3>Uninstall entry</h3>\n" + UninstallEntries(result);

    html += "<h2>The removal</h2>\n";
    if (result.removalRan) {
        html += Pictures(result, result.removal);
    } else {
        html += "<p class=\"note\">Nothing was removed: there is no uninstall entry.</p>\n";
    }
    const Leftovers& left = result.leftovers;
    html += "<h3>Left behind (" + std::to_string(Count(left.findings)) + ")</h3>\n" +
            FilesTable(left.findings.files, "No file or folder.") +
            RegistryTable(left.findings.registry, "No key or value.");
    html +=
        "<h3>Kept by design</h3>\n<p class=\"note\">The engine's records that every product it "
        "installed shares: the uninstaller, its language files, the engine's key with the "
        "uninstaller's version.</p>\n" +
        FilesTable(left.shared.files, "No file.") +
        RegistryTable(left.shared.registry, "No key or value.");

    html +=
        "<h2>Wine's own changes</h2>\n<p class=\"note\">Measured by a run that installs "
        "nothing, and taken out of the tables above: " +
        std::to_string(Count(result.winesInstall)) + " during the install, " +
        std::to_string(Count(result.winesRemoval)) + " since, counted from before it.</p>\n";
    if (Count(result.winesInstall) + Count(result.winesRemoval) > 0) {
        html += "<details><summary>List them</summary><ul>\n" + WinesList(result.winesInstall) +
                WinesList(result.winesRemoval) + "</ul></details>\n";
    }
    html += "</body></html>\n";
    return html;
}

std::string SummaryText(const TrialResult& result, const Findings& found,
                        const std::string& reportPath, std::size_t shownFindings) {
    const std::vector<std::string> findings = found.All();
    const InstallReading& in = result.installed;
    std::string pages;
    for (const WalkStep& step : result.install.steps) {
        pages += (pages.empty() ? "" : ", ") +
                 (step.kind == account::kPage ? step.text : std::string(step.kind));
    }
    std::string text = ProductName(result) + ": " +
                       (result.silent ? "installed with /S" : "walked through the wizard") + "\n";
    if (!pages.empty()) text += "  windows    " + pages + "\n";
    text += "  setup      exit code " +
            ExitText(result.install.setupEnded, result.install.setupExit) + "\n";
    const std::string folder = InstallFolder(result);
    if (!folder.empty() && Installed(result.install.setupExit)) {
        text += "  installed into " + folder + "\n";
    }
    std::uint64_t bytes = 0;
    for (const FileChange& file : in.files) bytes += file.sizeAfter;
    text += "  installed  " + Counted(in.files.size(), "file", "files") + " (" +
            GroupedNumber(bytes) + " bytes), " + Counted(in.folders.size(), "folder", "folders") +
            ", " + Counted(in.shortcuts.size(), "shortcut", "shortcuts") + ", " +
            Counted(in.fontFiles.size(), "font", "fonts") + ", " +
            Counted(in.registry.size(), "registry change", "registry changes") + ", " +
            Counted(in.uninstallEntries.size(), "uninstall entry", "uninstall entries") + "\n";
    if (result.removalRan) {
        const std::size_t left = Count(result.leftovers.findings);
        text += "  uninstalled: exit code " +
                ExitText(result.removal.uninstallerEnded, result.removal.uninstallerExit) + "; " +
                (left ? "left behind: " + Counted(found.traces.size(), "trace", "traces")
                      : "nothing left behind") +
                "\n";
    }
    if (findings.empty()) {
        text += "  findings   none\n";
    } else {
        text += "  findings   " + std::to_string(findings.size()) + ":\n";
        for (std::size_t i = 0; i < findings.size() && i < shownFindings; ++i) {
            text += "    " + findings[i] + "\n";
        }
        if (findings.size() > shownFindings) {
            text += "    ... and " + std::to_string(findings.size() - shownFindings) +
                    " more in the report\n";
        }
    }
    text += "  report     " + reportPath + "\n";
    return text;
}

}  // namespace vesk::trial
