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
// From the keyboard: F6 sends the selection to the facing side, F5 reads the
// protected list's states afresh.
#define IDM_AJOUTER_A_LA_LISTE 40009
#define IDM_DEPLACER_EN_FACE 40010
#define IDM_ACTUALISER 40011
// Context menus Popup1 and Popup2.
#define IDM_POPUP1_TOUT_SELECTIONNER 40101
#define IDM_POPUP1_TOUS_REPERTOIRES 40102
#define IDM_POPUP1_TOUS_FICHIERS 40103
#define IDM_POPUP2_TOUT_SELECTIONNER 40111
#define IDM_POPUP2_SUPPRIMER_SELECTION 40112
#define IDM_POPUP2_TOUT_SUPPRIMER 40113
#define IDM_POPUP2_CACHER_OU_VOIR 40114

// Desktop and Start menu: the views and strips of tabs 2 to 4 and their context menus.
#define IDC_PROGRAMMESCOMMUNS 2000
#define IDC_PROGRAMMESPERSO 2001
#define IDC_BUREAUCOMMUN 2002
#define IDC_BUREAUPERSO 2003
#define IDC_PROGPERSO 2004
#define IDC_BURPERSO 2005
#define IDC_PROGCACH 2006
#define IDC_BURCACH 2007
#define IDC_PANEL8 2010
#define IDC_PANEL9 2011
#define IDC_PANEL10 2012
#define IDC_PANEL11 2013
#define IDC_SHELL_GROUPS 2020  // 2020..2029: the group boxes of tabs 2 to 4
#define IDC_SHELL_SPLITTERS 2030  // 2030..2039
#define IDC_SPEEDBUTTON4 2040
#define IDM_OPSPEPRO_TOUT_SELECTIONNER 42000
#define IDM_OPSPEPRO_CACHER 42001
#define IDM_OPSPEBUR_TOUT_SELECTIONNER 42010
#define IDM_OPSPEBUR_CACHER 42011
#define IDM_MENUCACHEPROG_TOUT_SELECTIONNER 42020
#define IDM_MENUCACHEPROG_RETABLIR 42021
#define IDM_MENUCACHEBUR_TOUT_SELECTIONNER 42030
#define IDM_MENUCACHEBUR_RETABLIR 42031

// Every picture is drawn for 96 DPI and for the larger DPI steps (120, 144
// and 192 DPI): the picture for step N has the 96-DPI id + N * IDB_DPI_STEP.
#define IDB_DPI_STEP 10

// Pictures of the toolbar buttons: 200-203, 210-213, 220-223, 230-233.
#define IDB_VOIR 200
#define IDB_CACHER 201
#define IDB_SUPPRIMER 202
#define IDB_RETABLIR 203

// ImageList1: the small pictures of the tabs and menus, side by side: 300,
// 310, 320, 330.
#define IDB_IMAGELIST1 300
