#pragma once
// Resource identifiers of the file browsing widgets: their menu pictures
// (500-699) and their context-menu commands (45000-45999).

// Menu pictures, drawn for 96 DPI; the same picture for the larger DPI steps
// (120, 144 and 192 DPI) has its id + step * IDB_BROWSE_DPI_STEP.
#define IDB_BROWSE_DPI_STEP 50
#define IDB_BROWSE_NEWFOLDER 500
#define IDB_BROWSE_EDITFOLDER 501
#define IDB_BROWSE_DELFOLDER 502
#define IDB_BROWSE_CUT 503
#define IDB_BROWSE_COPY 504
#define IDB_BROWSE_PASTE 505
#define IDB_BROWSE_TREESIZE 506
#define IDB_BROWSE_DIRCONTENTS 507
#define IDB_BROWSE_NETCONNECT 508
#define IDB_BROWSE_NETDISCONNECT 509
#define IDB_BROWSE_ATTRIBUTES 510
#define IDB_BROWSE_OPEN 511
#define IDB_BROWSE_VIEW 512
#define IDB_BROWSE_SENDTO 513
#define IDB_BROWSE_RENAME 514
#define IDB_BROWSE_DELETE 515
#define IDB_BROWSE_ANYFOLDER 516
#define IDB_BROWSE_CLIPBOARD 517
#define IDB_BROWSE_DESKTOP 518
#define IDB_BROWSE_OK 519

// File list context menu: 45000 + the item's tag (1 to 10); its Send To
// submenu: 45030 + the entry's number (0 to 3 the special entries, 4 on the
// user's Send To shortcuts).
#define IDM_LIST_FIRST 45001
#define IDM_LIST_LAST 45010
#define IDM_LIST_SENDTO_FIRST 45030
#define IDM_LIST_SENDTO_LAST 45099
// Directory tree context menu: 45100 + the item's tag (1 to 11).
#define IDM_TREE_FIRST 45101
#define IDM_TREE_LAST 45111
