/* The menu commands' and the main window's controls' numbers, one list for the Qt and the
   Win32 window; the resource script reads it too, so plain defines. Each export format's
   command is in its entry of app/export_formats.cpp. */
#ifndef QUILLON_APP_COMMAND_IDS_H
#define QUILLON_APP_COMMAND_IDS_H

#define IDM_ABOUTBOX 0x0010 /* in the system menu; the Qt window also has it in the menu bar */
#define ID_LOAD_SCRIPT 32771
#define ID_HOME_PAGE 32772
#define ID_EXIT 32773
#define ID_FIRST_SAMPLE 32774 /* to 32778, the five built-in texts */
#define ID_HELP_PAGE 32779
#define ID_DONATION 32780
#define ID_SAVE 32781
#define ID_SAVE_AS 32782
#define ID_ANALYSIS 32785
#define ID_COMPARE 32787 /* 分析 → 与脚本文件比较… */

/* The controls; the Qt window names each widget "control<number>". */
#define IDC_SCRIPT_BOX 1000
#define IDC_REPORT_BOX 1001
#define IDC_COMPUTE 1002
#define IDC_REAL_TIME 1003
#define IDC_LOAD 1004
#define IDC_EXIT 1005
#define IDC_SAMPLE_LIST 1006
#define IDC_ABOUT_LINE 1007
#define IDC_ANALYSIS_TEXT 1008 /* 分析: above its list of units */
#define IDC_REPORT_NOTICE 1009 /* says that the report was cut */
#define IDC_ANALYSIS_COLUMNS 1010 /* 分析: the list's column header */
#define IDC_ANALYSIS_UNITS 1011 /* 分析: the units below 1, to tick */
#define IDC_ANALYSIS_WHAT_IF 1012 /* 分析: the total with the ticked ones compliant */
#define IDC_COMPARE_TEXT 1013 /* 与脚本文件比较: the comparison */
#define IDC_COMPARE_EXPORT 1014 /* and its exports' buttons, one a format from here */

#ifdef __cplusplus
/* Every number above and the samples', which no export command may take. */
inline constexpr int kFixedCommandIds[] = {IDM_ABOUTBOX, ID_LOAD_SCRIPT, ID_HOME_PAGE, ID_EXIT, ID_FIRST_SAMPLE,
                                           ID_FIRST_SAMPLE + 1, ID_FIRST_SAMPLE + 2, ID_FIRST_SAMPLE + 3,
                                           ID_FIRST_SAMPLE + 4, ID_HELP_PAGE, ID_DONATION, ID_SAVE, ID_SAVE_AS,
                                           ID_ANALYSIS, ID_COMPARE};
#endif

#endif
