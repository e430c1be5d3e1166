// The walk account: what the walk program (walk_setup, run under Wine) saw and did, for
// `veskbuild try` to read back. One event per line in UTF-8, its fields separated by tabs; a
// backslash, tab, line feed or carriage return inside a field is written \\, \t, \n, \r.
//
//   page         PICTURE  NAME        a wizard page ("welcome", "user information" ...) shown
//   message      PICTURE  TEXT        a message box, answered with its default (OK or Yes)
//   window       PICTURE  TITLE       a window of an unattended run, which should show none
//   destination  FOLDER               the destination page's folder
//   setup-exit   CODE                 the setup's exit code
//   uninstall    COMMAND  ENTRY       the uninstall entry's command, run to remove the product
//   uninstaller-exit CODE             the uninstaller's exit code
//   link         LINK  TARGET  ARGUMENTS  FOLDER  ICON  DESCRIPTION
//                                     a shortcut read through the shell's link service
//   link-unread  LINK  WHY            a shortcut the link service could not read
//   failure      TEXT                 why the walk could not go on
//
// PICTURE is the name of a picture in the pictures folder ("03-user-information.bmp"), empty
// when none could be taken. Readers pass over kinds they do not know.
#pragma once

#include <string>
#include <string_view>

namespace vesk::trial::account {

constexpr char kPage[] = "page";
constexpr char kMessage[] = "message";
constexpr char kWindow[] = "window";
constexpr char kDestination[] = "destination";
constexpr char kSetupExit[] = "setup-exit";
constexpr char kUninstall[] = "uninstall";
constexpr char kUninstallerExit[] = "uninstaller-exit";
constexpr char kLink[] = "link";
constexpr char kLinkUnread[] = "link-unread";
constexpr char kFailure[] = "failure";

constexpr char kSeparator = '\t';

// `field` as the account writes it.
inline std::string EscapeField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace vesk::trial::account
