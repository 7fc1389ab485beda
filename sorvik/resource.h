// Resource and control ids of Sorvik, shared by sorvik.rc and the code.
#ifndef SORVIK_RESOURCE_H
#define SORVIK_RESOURCE_H

#define IDI_SORVIK 100

// Child windows of the main window.
#define IDC_TAB_CONTROL 120
#define IDC_PAGE_WINDOW 130

// Menu "DigitalIOMenu".
#define IDM_RESTORE_CONFIG 1100
#define IDM_SAVE_CONFIG 1101
#define IDM_AUTO_CONFIG 1102
#define IDM_RESET_ALL 1103
#define IDM_SELECT_CONTROLLER 1104
#define IDM_CONTROLLER_INFO 1105
#define IDM_EXIT 1106
#define IDM_VIEW_MODULES 1110
#define IDM_VIEW_CHANNELS 1111
#define IDM_HELP_TOPICS 1120
#define IDM_ABOUT 1121

// Tab labels: by module from IDS_TAB_MODULE_FIRST, by channel range from
// IDS_TAB_RANGE_FIRST, one string per page.
#define IDS_TAB_MODULE_FIRST 1001
#define IDS_TAB_RANGE_FIRST 1010

// Channel controls of the page window: base id plus position 0 to 15.
#define IDC_LAMP_BASE 1300
#define IDC_CHANNEL_FRAME_BASE 1400
#define IDC_DIRECTION_READOUT_BASE 1500
#define IDC_POLARITY_READOUT_BASE 1600
#define IDC_LATCH_LABEL_BASE 1700
#define IDC_LATCH_SWITCH_BASE 1800
#define IDC_DIRECTION_BUTTON_BASE 1900
#define IDC_POLARITY_BUTTON_BASE 2000
#define IDC_OUTPUT_SWITCH_BASE 2100
#define IDC_TEST_FRAME_BASE 2200

#endif
