// Resource and control ids of the tuning program, shared by quorisk.rc and
// the code.
#ifndef QUORISK_RESOURCE_H
#define QUORISK_RESOURCE_H

#define IDI_QUORISK 52

// File menu.
#define IDM_SELECT_CONTROLLER 100
#define IDM_RESET_CONTROLLER 101
#define IDM_OPEN 102
#define IDM_SAVE_AS 103
#define IDM_AUTO_INIT 104
#define IDM_SAVE_AXIS_SETTINGS 105
#define IDM_IMPORT_COMMANDS 106
#define IDM_EXPORT_COMMANDS 107
#define IDM_PRINT 108
#define IDM_EXIT 109

// Setup menu.
#define IDM_AXIS_SETUP 200
#define IDM_SCALING_SETUP 201
#define IDM_SLIDER_SETUP 202
#define IDM_TEST_SETUP 203
#define IDM_PLOT_SETUP 204

// Test menu; the same ids as the panel's buttons.
#define IDM_STEP_PLUS 210
#define IDM_STEP_MINUS 211
#define IDM_CLEAR_PLOT 212
#define IDM_ZERO_POSITION 213

// Help menu.
#define IDM_HELP_TOPICS 300
#define IDM_ABOUT 301

// Control panel and its children.
#define IDC_PANEL 200
#define IDC_AXIS_BUTTON 201
#define IDC_AXIS_READOUT 202
#define IDC_POSITION_READOUT 203
#define IDC_MOTOR_LAMP 204
#define IDC_MOTOR_ON 205
#define IDC_MOTOR_OFF 206
#define IDC_TRAJECTORY_LAMP 207
#define IDC_TRAJECTORY_ON 208
#define IDC_TRAJECTORY_OFF 209
#define IDC_STEP_PLUS 210
#define IDC_STEP_MINUS 211
#define IDC_CLEAR 212
#define IDC_ZERO 213
#define IDC_SLIDER_GROUP 214
#define IDC_SLIDER_P 215
#define IDC_SLIDER_I 216
#define IDC_SLIDER_D 217

// Children of a gain slider.
#define IDC_TRACKBAR 500
#define IDC_ZOOM_IN 501
#define IDC_CONFIGURE_SLIDER 502
#define IDC_ZOOM_OUT 503
#define IDC_GAIN_READOUT 504
#define IDC_UPPER_LABEL 505
#define IDC_LOWER_LABEL 506
#define IDC_MIDDLE_LABEL 507

#endif
