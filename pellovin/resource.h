// Resource and control ids of the analog I/O test panel, shared by the .rc
// file and the code.
#ifndef PELLOVIN_RESOURCE_H
#define PELLOVIN_RESOURCE_H

#define IDI_PELLOVIN 101

// Main window menu "Analog_Menu".
#define IDM_DEFAULT_OUTPUTS 1000
#define IDM_RESET_ALL 1001
#define IDM_SELECT_CONTROLLER 1002
#define IDM_CONTROLLER_INFO 1003
#define IDM_EXIT 1004
#define IDM_HELP_TOPICS 1010
#define IDM_ABOUT 1011

// Main window children.
#define IDC_TAB 120
#define IDC_PAGE_FIRST 130

// Page window controls; channel controls add the channel's index in its group.
#define IDC_CHANNEL_BOX 2000
#define IDC_CHANNEL_READOUT 2100
#define IDC_CHANNEL_SETUP 2200
#define IDC_REFERENCE_BOX 2300
#define IDC_REFERENCE_READOUT 2301
#define IDC_REFERENCE_BUTTON 2302
#define IDC_MODULE_LIST 2303
#define IDC_MODULE_BOX 2304

// Reference voltage dialog "ReferenceDlgBox".
#define IDC_REFERENCE_EDIT 1200
#define IDC_REFERENCE_RANGE 1201

// Input set-up dialog "InputSetupDlgBox".
#define IDC_UNITS_DEFAULT 1210
#define IDC_UNITS_FACTOR 1211
#define IDC_UNITS_OFFSET 1212
#define IDC_UNITS_LABEL 1213
#define IDC_UNITS_FACTOR_TEXT 1214
#define IDC_UNITS_FACTOR_UNIT 1215
#define IDC_UNITS_OFFSET_TEXT 1216
#define IDC_UNITS_LABEL_TEXT 1217
#define IDC_UNITS_LABEL_HINT 1218
#define IDC_SETUP_HELP 1219

// Display modes: the radio buttons of both set-up dialogs.
#define IDC_MODE_VOLTS 1221
#define IDC_MODE_ADC_COUNTS 1222
#define IDC_MODE_USER_UNITS 1223
#define IDC_MODE_0_TO_5V 1230
#define IDC_MODE_DAC_COUNTS 1233
#define IDC_MODE_PLUS_MINUS_10V 1236

// Output set-up dialog "OutputSetupDlgBox".
#define IDC_OUT_5V_UNIT 1231
#define IDC_OUT_5V_EDIT 1232
#define IDC_OUT_COUNTS_UNIT 1234
#define IDC_OUT_COUNTS_EDIT 1235
#define IDC_OUT_10V_UNIT 1237
#define IDC_OUT_10V_EDIT 1238
#define IDC_OUT_CALIBRATE 1239

// Calibration wizard page templates.
#define IDD_CAL_INTRO 7000
#define IDD_CAL_STEP1 7010
#define IDD_CAL_STEP2 7020
#define IDD_CAL_STEP3 7030
#define IDD_CAL_STEP4 7040
#define IDD_CAL_FINISH 7050

// Calibration wizard bitmaps.
#define IDB_CAL_MODULE 7100
#define IDB_CAL_OFFSET_POT 7101
#define IDB_CAL_INTRO 7102
#define IDB_CAL_PIN 7103
#define IDB_CAL_GAIN_POT1 7104
#define IDB_CAL_GAIN_POT2 7105
#define IDB_CAL_GAIN_POT3 7106
#define IDB_CAL_GAIN_POT4 7107
#define IDB_CAL_LEAD1 7108
#define IDB_CAL_LEAD2 7109
#define IDB_CAL_LEAD3 7110
#define IDB_CAL_LEAD4 7111
#define IDB_CAL_METER_10V 7112

#endif
