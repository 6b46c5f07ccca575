#pragma once
// Resource identifiers of ferlane.exe.

#define IDI_FERLANE 1
#define IDR_SPLASH_JPEG 100

// Menu commands of the main window.
#define IDM_CHANGER_MOT_DE_PASSE 40001
#define IDM_FERMER 40002
#define IDM_TOUT_CACHER 40003
#define IDM_TOUT_VOIR 40004
#define IDM_RETABLIR 40005
#define IDM_AIDE 40006
#define IDM_MECRIRE 40007
#define IDM_APROPOS 40008
// Context menus Popup1 and Popup2.
#define IDM_POPUP1_TOUT_SELECTIONNER 40101
#define IDM_POPUP1_TOUS_REPERTOIRES 40102
#define IDM_POPUP1_TOUS_FICHIERS 40103
#define IDM_POPUP2_TOUT_SELECTIONNER 40111
#define IDM_POPUP2_SUPPRIMER_SELECTION 40112
#define IDM_POPUP2_TOUT_SUPPRIMER 40113
#define IDM_POPUP2_CACHER_OU_VOIR 40114

// Pictures of the toolbar buttons.
#define IDB_VOIR 200
#define IDB_CACHER 201
#define IDB_SUPPRIMER 202
#define IDB_RETABLIR 203

// ImageList1: the small pictures of the tabs and menus, side by side.
#define IDB_IMAGELIST1 300
