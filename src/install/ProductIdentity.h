// Which installed product a setup is, across its versions: the name its record goes by.
#pragma once

#include <string>

#include "project/InstallProject.h"

namespace vesk {

// Where the engine keeps the products' records: its own folder below the system folder, which
// only administrators can write to.
constexpr char kRecordsFolder[] = "[System Directory]\\VeskInstall\\Records";
constexpr char kRecordExtension[] = ".rec";

// The product's identity: ProductId of task 2401 when it is given (for a packager who renames
// the product), else CompanyDesc, a backslash and ProjectName. Letter case does not count.
std::string ProductIdentity(const InstallProject& project);

// The record's file name for an identity: the identity with every character Windows cannot hold
// in a name replaced by "_" (at most 64 of them), a "-", the CRC-32 of the upper-cased identity
// in eight hexadecimal digits, and ".rec".
std::string RecordFileName(const std::string& identity);

}  // namespace vesk
