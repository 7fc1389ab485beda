// Resource and control ids of Ambrel, shared by ambrel.rc and the code.
#ifndef AMBREL_RESOURCE_H
#define AMBREL_RESOURCE_H

#define IDI_AMBREL 2

// Setup menu
#define IDM_AUTO_INIT 1000
#define IDM_INIT_AXES 1001
#define IDM_SAVE_AXES 1002
#define IDM_CONTROLLER_INFO 1003
#define IDM_SELECT_CONTROLLER 1004
#define IDM_RESET_CONTROLLER 1005
#define IDM_EXIT 1006

// Help menu
#define IDM_HELP_TOPICS 1100
#define IDM_ENABLE_WARNINGS 1101
#define IDM_ABOUT 1102

// Main window children: axis panels 1200..1207 and the bottom bar
#define IDC_PANEL_FIRST 1200
#define IDC_BAR_GROUP 1210
#define IDC_POINT_TO_POINT 1211
#define IDC_CYCLE 1212
#define IDC_MOVE_PLUS 1213
#define IDC_MOVE_MINUS 1214
#define IDC_STOP 1215
#define IDC_ABORT 1216
#define IDC_ALL_ON 1217
#define IDC_ALL_OFF 1218
#define IDC_ZERO 1219
#define IDC_HOME 1220

// Axis panel children
#define IDC_AXIS_BUTTON 1300
#define IDC_POSITION 1301
#define IDC_LAMP_ON 1302
#define IDC_LAMP_ERROR 1303
#define IDC_LAMP_LIMIT 1304
#define IDC_MOTOR_ON 1305
#define IDC_MOTOR_OFF 1306
#define IDC_SETUP 1307
#define IDC_SCALE 1308
#define IDC_DIST_LABEL 1309
#define IDC_DISTANCE 1310
#define IDC_ABS 1311
#define IDC_REL 1312
#define IDC_VELOCITY_SLIDER 1313
#define IDC_VELOCITY_LABEL 1314
#define IDC_VELOCITY_READOUT 1315

// Warning dialogs
#define IDC_DONT_SHOW 1400
#define IDC_WARN_HELP 9

#endif
