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
