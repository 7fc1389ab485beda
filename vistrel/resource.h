// Resource ids of the plot window library.
#ifndef DREVALON_VISTREL_RESOURCE_H
#define DREVALON_VISTREL_RESOURCE_H

#define IDC_APPLY           10
#define IDC_USE_STYLE       1000
#define IDC_SELECT_COLORS   1001
#define IDC_STYLE_LIST      1002
#define IDC_STYLE_LABEL     1003
#define IDC_GRID_COLOR      1004
#define IDC_BACK_COLOR      1005
#define IDC_MARGIN_COLOR    1006
#define IDC_TEXT_COLOR      1007
#define IDC_PLOT1_COLOR     1008
#define IDC_PLOT2_COLOR     1009
#define IDC_PLOT3_COLOR     1010
#define IDC_PLOT4_COLOR     1011

#endif
