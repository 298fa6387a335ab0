#pragma once
// The platform's handle types, declared the way <windows.h> declares them
// under STRICT, so that headers which only pass handles around need not pull
// in the whole platform header.

struct HDC__;
struct HWND__;
struct HFONT__;
struct HPEN__;
struct HBRUSH__;
struct HBITMAP__;
struct HPALETTE__;
struct HRGN__;
struct HICON__;
struct HINSTANCE__;
struct HMENU__;
struct HMONITOR__;
struct _IMAGELIST;

typedef HDC__* HDC;
typedef HWND__* HWND;
typedef HFONT__* HFONT;
typedef HPEN__* HPEN;
typedef HBRUSH__* HBRUSH;
typedef HBITMAP__* HBITMAP;
typedef HPALETTE__* HPALETTE;
typedef HRGN__* HRGN;
typedef HICON__* HICON;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HMENU__* HMENU;
typedef HMONITOR__* HMONITOR;
typedef HICON HCURSOR;
typedef _IMAGELIST* HIMAGELIST;
