// Numbers of the dialog templates and their controls, shared by the resource script and the code.
#pragma once

// Disk request: asks for the folder holding the next volume file.
#define IDD_INSERT_MEDIA 141
#define IDC_INSERT_MEDIA_LABEL 1024     // label of the location field
#define IDC_INSERT_MEDIA_LOCATION 1013  // location field
#define IDC_INSERT_MEDIA_MESSAGE 1021   // request message
#define IDC_INSERT_MEDIA_CONFIRM 1020   // confirm (default button)
#define IDC_INSERT_MEDIA_CANCEL 1022    // cancel
#define IDC_INSERT_MEDIA_BROWSE 1023    // browse for the folder

// Loading dialog: shown while the start-up files are unpacked; closes itself.
#define IDD_LOADING 131
#define IDC_LOADING_TEXT 1005  // the message, from the language table
#define IDC_LOADING_BAR 1006   // how far the setup's check has come

// The setup icon: window icon of the wizard and icon of the program file.
#define IDI_SETUP 128

// Wizard frame: the header band, the pages below it, and the buttons.
#define IDD_WIZARD_FRAME 102
#define IDC_WIZARD_BACK 1000
#define IDC_WIZARD_NEXT 1001
#define IDC_WIZARD_CANCEL 2  // IDCANCEL: Escape and the close box reach the same handler
#define IDC_WIZARD_UPPER_LINE 1002
#define IDC_WIZARD_LOWER_LINE 1003

// Wizard pages (child dialogs of the frame).
#define IDD_WELCOME_PAGE 133
#define IDD_LICENCE_PAGE 134
#define IDD_README_PAGE 135
#define IDD_USER_INFORMATION_PAGE 136
#define IDD_PROGRAM_FOLDER_PAGE 137
#define IDD_PROGRESS_PAGE 138
#define IDD_FINISH_PAGE 140
#define IDD_DESTINATION_PAGE 9

// Licence and readme pages.
#define IDC_DOCUMENT_VIEW 1000   // where the document is shown
#define IDC_LICENCE_ACCEPT 1002  // radio button: accept
#define IDC_LICENCE_REJECT 1003  // radio button: reject
#define IDC_DOCUMENT_TEXT 1004   // the document as text, when no browser can show it

// User information page.
#define IDC_USER_NAME 1005
#define IDC_USER_COMPANY 1006
#define IDC_USER_COMPANY_LABEL 1008
#define IDC_USER_NAME_LABEL 1009

// Program folder page.
#define IDC_PROGRAM_FOLDER_NAME 1013
#define IDC_PROGRAM_FOLDER_LIST 1014
#define IDC_PROGRAM_FOLDER_NAME_LABEL 1015
#define IDC_PROGRAM_FOLDER_LIST_LABEL 1016
#define IDC_PROGRAM_FOLDER_TEXT 1017

// Destination folder page.
#define IDC_DESTINATION_TREE 1003
#define IDC_DESTINATION_DRIVES 1006
#define IDC_DESTINATION_SIZE 1007
#define IDC_DESTINATION_PATH 1008
#define IDC_DESTINATION_TEXT 1011

// Progress page.
#define IDC_PROGRESS_STATUS 1017
#define IDC_PROGRESS_BAR 1018
#define IDC_PROGRESS_ITEM 1019  // the file being written, under the status

// Finish page: the restart check box; the boxes of programs to start are numbered from 1000.
#define IDC_FINISH_RESTART 999

// Advertising picture: a borderless window sized to its picture.
#define IDD_AD_PICTURE 142
