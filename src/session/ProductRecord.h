// The record of an installed product that the uninstaller and a later setup of the product act
// on: what the install made and what it found, kept in the engine's own folder below the system
// folder, where only administrators can write, beside a digest of the install's log.
//
// The file is text, one line each, CR LF after every line:
//
//   VeskInstall record 2            (texts in UTF-8; "record 1", the ANSI code page, still read)
//   Identity=<ProductId, or CompanyDesc\ProjectName>
//   Product=<ProjectName>          Version=<ProductVersion>        Title=<name and version>
//   InstallFolder=<folder>         Log=<the log's path, or empty>   LogDigest=<crc32>/<size>
//   Entry=<the uninstall entry's key below the scope's root, or empty>
//   Scope=<machine or user>          (missing in records of earlier engines: machine)
//   <one line per change>
//   End
//
// (the header fields each on a line of their own, in this order). A change line holds nine fields
// separated by "|": kind, flags, root, path, name, program, before, after, stamp. Kinds: folder,
// file, existing (a file that was there before), key, value, font, listing, component, shared;
// flags "k" (kept at the uninstall) and "t" (a key removed whole); root the number of the
// RegistryRoot; before and after "-" or "<type>:<hex bytes>"; stamp "-" or "<size>:<write
// time>". Bytes below 0x20, "%", "|" and 0x7F in a field are written "%XX".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "project/InstallScope.h"
#include "session/Change.h"

namespace vesk {

struct ProductRecord {
    std::string identity;
    std::string product;
    std::string version;
    std::string title;
    std::string installFolder;
    std::string logPath;
    std::uint32_t logCrc = 0;
    std::uint64_t logSize = 0;
    std::string entryKey;
    // For whom the product was installed: its entry, keys and engine folder are that scope's.
    InstallScope scope = InstallScope::Machine;
    // What the uninstall undoes and what it leaves: folders and files made, files found,
    // registry keys made and values written, fonts, components and shared-file counts.
    std::vector<Change> changes;
};

// The changes of a run's journal that the record keeps: each folder, file, key, value, font
// listing, component and shared count once, with the state before its first change and after
// its last (a value the run wrote and deleted again, or a component it unregistered again, drops
// out); a file the run wrote over or kept counts as one that was there. Files and folders that
// are gone again (programs run, registry data applied), and what only a rollback needs (copies,
// deleted keys), are left out.
std::vector<Change> RecordedChanges(const std::vector<Change>& journal, const FileSystem& files);

// The record as the file holds it.
std::string RecordText(const ProductRecord& record);
// Reads a record's text; false for anything that is not a whole record (no End line, an unknown
// kind, a field that does not read).
bool ReadRecordText(const std::string& text, ProductRecord& record);

// The digest of the log kept in the record: its CRC-32 and its size.
void DigestOf(const std::string& bytes, std::uint32_t& crc, std::uint64_t& size);

}  // namespace vesk
