/* Resource and control ids of the setup's user interface, shared by the resource scripts
   and the C++ code. Plain #defines: the resource compiler reads this file too. */
#ifndef QV_RESOURCES_UI_IDS_H
#define QV_RESOURCES_UI_IDS_H

#define IDD_ABOUTBOX 100
#define IDD_WIZARD 102
#define IDD_PAGE_LANGUAGE 132
#define IDD_PAGE_FOLDER 133
#define IDD_PAGE_SHORTCUTS 134
#define IDD_PAGE_PROGRESS 135
#define IDD_PAGE_MODE 136
#define IDD_PAGE_FINISH 137
#define IDD_FOLDER_CHOOSER 10001

#define IDI_SETUP 128
#define IDB_LEFT_PANEL 137
/* Flag icons 141..155; the language table says which belongs to which language. */
#define IDI_FLAG_FIRST 141
#define IDI_FLAG_LAST 155

#define IDM_ABOUTBOX 16

/* Wizard frame */
#define IDC_WIZARD_BACK 3
#define IDC_WIZARD_SEPARATOR 1002
#define IDC_WIZARD_LEFT_PANEL 1005

/* About box */
#define IDC_ABOUT_PRODUCT 1019
#define IDC_ABOUT_COPYRIGHT 1020

/* Every page: the status line at the bottom */
#define IDC_PAGE_STATUS 1003

/* Language page */
#define IDC_LANGUAGE_LABEL 1022
#define IDC_LANGUAGE_LIST 1023
#define IDC_LANGUAGE_COPYRIGHT 1020
#define IDC_LANGUAGE_INFO 1016

/* Mode page */
#define IDC_MODE_GROUP 1021
#define IDC_MODE_QUICK 1018
#define IDC_MODE_CUSTOM 1019

/* Folder page */
#define IDC_FOLDER_GROUP 1008
#define IDC_FOLDER_LABEL 1009
#define IDC_FOLDER_EDIT 1007
#define IDC_FOLDER_BROWSE 1006

/* Shortcut page */
#define IDC_SHORTCUT_GROUP 1012
#define IDC_SHORTCUT_MENU_CHECK 1011
#define IDC_SHORTCUT_MENU_EDIT 1007
#define IDC_SHORTCUT_BROWSE 1006
#define IDC_SHORTCUT_DESKTOP_CHECK 1010

/* Progress page */
#define IDC_PROGRESS_LOG 1015
#define IDC_PROGRESS_BAR 1014

/* Final page */
#define IDC_FINISH_TEXT 1016

/* Folder chooser */
#define IDC_CHOOSER_PATH 50001
#define IDC_CHOOSER_TREE 50002

#endif
