// Resource and control ids of the tuning program's set-up and printing dialogs.
#ifndef QUORISK_DIALOGS_RESOURCE_H
#define QUORISK_DIALOGS_RESOURCE_H

// Property sheet pages (dialog templates by number).
#define IDD_AXIS_INFO        1000
#define IDD_MOTION_SETTINGS  1100
#define IDD_PLOT_SETTINGS    1200

// Info page.
#define IDC_INFO_FRAME          1001
#define IDC_INFO_AXIS_TYPE      1002
#define IDC_INFO_BUFFER_SIZE    1003
#define IDC_INFO_MIN_PERIOD     1004
#define IDC_INFO_ADVANCED       1005
#define IDC_INFO_MODES          1006

// Motion Settings page.
#define IDC_MOTION_DISTANCE      1110
#define IDC_MOTION_TIME          1111
#define IDC_MOTION_DELAY         1112
#define IDC_MOTION_CYCLE         1120
#define IDC_MOTION_CYCLE_LABEL   1121
#define IDC_MOTION_CYCLE_DWELL   1122
#define IDC_MOTION_CYCLE_MS      1123
#define IDC_MOTION_REPEAT        1130
#define IDC_MOTION_COUNT_LABEL   1131
#define IDC_MOTION_COUNT         1132
#define IDC_MOTION_RDWELL_LABEL  1133
#define IDC_MOTION_RDWELL        1134
#define IDC_MOTION_RDWELL_MS     1135
#define IDC_MOTION_GANTRY        1140
#define IDC_MOTION_MASTER_LABEL  1141
#define IDC_MOTION_MASTER        1142
#define IDC_MOTION_SLAVE_LABEL   1143
#define IDC_MOTION_SLAVE         1144
#define IDC_MOTION_SHARE         1145

// Plot Settings page.
#define IDC_PLOT_ACTUAL         1210
#define IDC_PLOT_OPTIMAL        1211
#define IDC_PLOT_ERROR          1212
#define IDC_PLOT_TORQUE         1213
#define IDC_PLOT_TARGET         1214
#define IDC_PLOT_AUXILIARY      1215
#define IDC_PLOT_SCALE_LABEL    1216
#define IDC_PLOT_SCALE          1217
#define IDC_PLOT_SINGLE         1220
#define IDC_PLOT_MULTI          1221
#define IDC_PLOT_SEPARATE       1222
#define IDC_PLOT_SAMPLING_BASE  1230
#define IDC_PLOT_EVERY_POINT    1231
#define IDC_PLOT_EVERY_SECOND   1232
#define IDC_PLOT_EVERY_FOURTH   1234

// PID Setup dialog ("PanelSetupDialog"): per gain a frame, its labels, the
// upper and lower limit edits; the I and D blocks are the P block + 10 / + 20.
#define IDC_PID_P_FRAME     300
#define IDC_PID_P_UPPER_LABEL 301
#define IDC_PID_P_UPPER     302
#define IDC_PID_P_UPPER_PCT 303
#define IDC_PID_P_LOWER_LABEL 304
#define IDC_PID_P_LOWER     305
#define IDC_PID_P_LOWER_PCT 306
#define IDC_PID_I_FRAME     310
#define IDC_PID_I_UPPER_LABEL 311
#define IDC_PID_I_UPPER     312
#define IDC_PID_I_UPPER_PCT 313
#define IDC_PID_I_LOWER_LABEL 314
#define IDC_PID_I_LOWER     315
#define IDC_PID_I_LOWER_PCT 316
#define IDC_PID_D_FRAME     320
#define IDC_PID_D_UPPER_LABEL 321
#define IDC_PID_D_UPPER     322
#define IDC_PID_D_UPPER_PCT 323
#define IDC_PID_D_LOWER_LABEL 324
#define IDC_PID_D_LOWER     325
#define IDC_PID_D_LOWER_PCT 326
#define IDC_PID_HELP        51

// "PrintDialog".
#define IDC_PRINT_TEXT      1400

#endif
