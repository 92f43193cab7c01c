// The program's resource and command ids, shared by the resource script and the code.
#pragma once

// Menu, tool bar, accelerators, icon, frame title and document template.
#define IDR_MAINFRAME 128
// The solution explorer's context menu.
#define IDR_SOLUTION_TREE_MENU 132
#define IDS_DOCSTRING 129
#define IDS_OLE_INIT_FAILED 100
#define IDS_OUTPUT_PANE 703
// The command bars' customize command (the tool bars' options popup offers it).
#define IDS_CUSTOMIZE_BARS 35001

// Bitmaps: the pane icons (two images on pure green), the solution tree, the frame's tree
// images, the About picture and the last tree image.
#define IDB_PANE_ICONS 130
#define IDB_SOLUTION_TREE 131
#define IDB_TREE_PROTOCOL 150
#define IDB_TREE_PACKET 151
#define IDB_TREE_FIELD 152
#define IDB_TREE_HEADER 153
#define IDB_TREE_ROOT 154
#define IDB_ABOUT 155
#define IDB_TREE_DIAGRAM 549

// Dialogs.
#define IDD_GLOBAL_OPTIONS 101
#define IDD_ABOUTBOX 102
#define IDD_PROJECT_PROPERTIES 145
#define IDD_OPTIONS 146
#define IDD_NEW_PROJECT 149
#define IDD_SERVICE_CALL 160
#define IDD_SERVICE_CALL_SETTINGS 161

// Controls.
#define IDC_AUTH_NONE 1000
#define IDC_AUTH_BASIC 1001
#define IDC_TARGET_PLATFORM 1002
#define IDC_NAME 1003
#define IDC_LOCATION 1004
#define IDC_BROWSE 1005
#define IDC_LIBRARY_TYPE 1006
#define IDC_WSDL_FILE 1007
#define IDC_OPTIONS_TAB 1012
#define IDC_AUTO 1013
#define IDC_MAIL_LINK 1017
#define IDC_WEB_LINK 1018
#define IDC_IMPORT 1024
#define IDC_AUTH_DIGEST 1025
#define IDC_NAME_HINT 1026
#define IDC_COMPILER_KIND 1030
#define IDC_GCC_PATH 1031
#define IDC_GCC_BROWSE 1032
#define IDC_XML_CATALOG 1033
#define IDC_XML_CATALOG_BROWSE 1034
// The call window and its settings.
#define IDC_CALL_PORT 1100
#define IDC_CALL_OPERATION 1101
#define IDC_CALL_ENDPOINT 1102
#define IDC_CALL_SEND 1103
#define IDC_CALL_CANCEL 1104
#define IDC_CALL_CHECK 1105
#define IDC_CALL_SETTINGS 1106
#define IDC_CALL_REQUEST 1107
#define IDC_CALL_PROBLEMS 1108
#define IDC_CALL_STATUS 1109
#define IDC_CALL_ANSWER 1110
#define IDC_CALL_HISTORY 1111
#define IDC_CALL_REOPEN 1112
#define IDC_CALL_MOCK_PORT 1113
#define IDC_CALL_MOCK 1114
#define IDC_CALL_MOCK_STATE 1115
#define IDC_CALL_REQUEST_LABEL 1116
#define IDC_CALL_ANSWER_LABEL 1117
#define IDC_CALL_HISTORY_LABEL 1118
#define IDC_CALL_MOCK_LABEL 1119
#define IDC_CALL_CA_FILE 1120
#define IDC_CALL_VERIFY 1121
#define IDC_CALL_PROXY 1122
#define IDC_CALL_PROXY_USER 1123
#define IDC_CALL_PROXY_PASSWORD 1124
#define IDC_CALL_AUTH 1125
#define IDC_CALL_USER 1126
#define IDC_CALL_PASSWORD 1127
#define IDC_CALL_WSSE_USER 1128
#define IDC_CALL_TIMEOUT 1129
#define IDC_CALL_CA_NOTE 1130

// Docking panes.
#define IDP_SOLUTION_EXPLORER 701
#define IDP_PROPERTIES 702
#define IDP_OUTPUT 703
#define IDP_OPTIONS_FIRST 4000
#define IDP_OPTIONS_SECOND 4001

// The properties pane: grid item captions (each item's id is its caption's string id) and its
// tool bar, whose buttons no command answers.
#define IDS_PROTOCOL_NAME 704
#define IDS_PROTOCOL_BASED 705
#define IDS_PROTOCOL_PLATFORM 706
#define IDS_PROTOCOL_LOCATION 707
#define IDS_PROTOCOL_LIBRARY 708
#define IDS_PACKET_SETTINGS 709
#define IDS_PACKET_NAME 710
#define IDS_PACKET_TYPE 711
#define IDS_FIELD_SETTINGS 712
#define IDS_FIELD_NAME 713
#define IDS_FIELD_UNIT 714
#define IDS_FIELD_DATA_TYPE 715
#define IDS_FIELD_MAX_LENGTH 716
#define IDS_FIELD_MAX_COUNT 717
#define IDS_FIELD_RELATED_COUNT 718
#define IDS_FIELD_TYPE 719
#define IDS_FIELD_REINTERPRET_NAME 720
#define IDS_FIELD_ATTRIBUTE 721
#define IDS_FIELD_VARIANT 722
#define IDS_FIELD_RELATED_LENGTH 723
#define IDS_FIELD_TAG 724
#define IDR_PROPERTIES_TOOLBAR 4001
#define ID_PROPERTIES_BUTTON_1 32771
#define ID_PROPERTIES_BUTTON_2 32772
#define ID_PROPERTIES_BUTTON_3 32773

// Commands. The protocol editor's add and remove commands follow the kind of the solution
// tree's selected item.
#define ID_ADD_PACKET 32774
#define ID_REMOVE_PACKET 32776
#define ID_ADD_FIELD 32777
#define ID_REMOVE_FIELD 32779
#define ID_GENERATE_CODE 32782
#define ID_COMPILE 32783
#define ID_OPTION 32784
#define ID_HELP_TOPICS 32786
#define ID_WEB_PAGE 32787
#define ID_ABOUT 32790
#define ID_PROJECT_PROPERTIES 32794
#define ID_FILE_NEW_PROJECT 32795
#define ID_FILE_OPEN_PROJECT 32796
#define ID_GOTO_LINE 32798
#define ID_UPPERCASE 32800
#define ID_LOWERCASE 32801
#define ID_COLLAPSE_ALL 32802
#define ID_EXPAND_ALL 32803
#define ID_TOGGLE_BOOKMARK 32804
#define ID_NEXT_BOOKMARK 32805
#define ID_PREV_BOOKMARK 32806
#define ID_SYNTAX_OPTION 32808
#define ID_PACKET_DIAGRAM 32810
#define ID_FILE_CLOSE_PROJECT 32812
#define ID_FILE_SAVE_PROJECT 32813
#define ID_FILE_SAVE_PROJECT_2 32815
#define ID_FILE_CLOSE_PROJECT_2 32816
#define ID_GENERATE_MAKEFILE 32817
#define ID_RUN_DEMO 32818
#define ID_COMPILE_DEMO 32819
#define ID_FILE_OPEN_EXAMPLE 32820
#define ID_PROJECT_COMMAND 32821
#define ID_ADD_PROTOCOL 32822
#define ID_REMOVE_PROTOCOL 32823
#define ID_VIEW_SOLUTION_EXPLORER 32824
#define ID_VIEW_PROPERTIES 32825
#define ID_NEXT_ERROR 32826
#define ID_PREV_ERROR 32827
#define ID_CALL_SERVICE 32828

// The tab client's group commands.
#define ID_TAB_GROUP_FIRST 9155
#define ID_TAB_GROUP_LAST 9158

// The program's name as its message boxes are captioned (else the file's lower-case name).
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif
