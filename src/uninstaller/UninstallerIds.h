// Numbers of the uninstaller's resources and controls, shared by its resource script, its code
// and the tests that drive its window.
#pragma once

// The uninstaller's icon: the program file's icon and the window's.
#define IDI_UNINSTALL 128

// The uninstall window.
#define IDD_UNINSTALL 150
#define IDC_UNINSTALL_ICON 1200
#define IDC_UNINSTALL_SUBJECT 1201   // bold, beside the icon
#define IDC_UNINSTALL_DESC 1202      // below the subject
#define IDC_UNINSTALL_LINE 1203      // the line under the header
#define IDC_UNINSTALL_DESC2 1204     // what the buttons do
#define IDC_UNINSTALL_STATUS 1205    // ready, removing files ..., the final text
#define IDC_UNINSTALL_ITEM 1206      // the item being removed
#define IDC_UNINSTALL_PROGRESS 1207  // the progress bar
#define IDC_UNINSTALL_START 1208     // Uninstall
#define IDC_UNINSTALL_CLOSE 2        // Close: IDCANCEL, so the close box and Escape reach it too
