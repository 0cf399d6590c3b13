/* The numbers of the Windows program's resources; read by the resource script and by the C++
   code, so plain defines. The commands and controls are the Qt window's too. */
#ifndef QUILLON_WIN32_RESOURCE_IDS_H
#define QUILLON_WIN32_RESOURCE_IDS_H

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_WINDOW 102
#define IDD_ANALYSIS 103
#define IDD_COMPARE 104
#define IDR_MAIN_ICON 128

#include "app/command_ids.h"  /* the commands and the controls */

#endif
