/* The numbers of the Windows program's resources, controls and commands; read by the resource
   script and by the C++ code, so plain defines. The menu commands are the Qt window's too. */
#ifndef QUILLON_WIN32_RESOURCE_IDS_H
#define QUILLON_WIN32_RESOURCE_IDS_H

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_WINDOW 102
#define IDD_ANALYSIS 103
#define IDR_MAIN_ICON 128
#define IDR_MAIN_MENU 129
#define IDR_ACCELERATORS 130

#include "app/command_ids.h"

#define IDC_SCRIPT_BOX 1000
#define IDC_REPORT_BOX 1001
#define IDC_COMPUTE 1002
#define IDC_REAL_TIME 1003
#define IDC_LOAD 1004
#define IDC_EXIT 1005
#define IDC_SAMPLE_LIST 1006
#define IDC_ABOUT_LINE 1007
#define IDC_ANALYSIS_TEXT 1008
#define IDC_REPORT_NOTICE 1009 /* says that the report was cut */

#endif
