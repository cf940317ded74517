// DirectDraw (DirectX 3 interfaces) as the program uses it: the real names,
// structure layouts and numeric values, and only the methods that are called.
#pragma once

#include <windows.h>

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) ((HRESULT)(0x88760000u | (code)))

#define DD_OK S_OK
#define DDERR_GENERIC E_FAIL
#define DDERR_INVALIDPARAMS E_INVALIDARG
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY
#define DDERR_UNSUPPORTED E_NOTIMPL
#define DDERR_INVALIDMODE MAKE_DDHRESULT(120)
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)
#define DDERR_NOCOLORKEY MAKE_DDHRESULT(215)
#define DDERR_NOEXCLUSIVEMODE MAKE_DDHRESULT(225)
#define DDERR_NOTFOUND MAKE_DDHRESULT(255)
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(174)
#define DDERR_SURFACELOST MAKE_DDHRESULT(450)
#define DDERR_WASSTILLDRAWING MAKE_DDHRESULT(540)
#define DDERR_CANTCREATEDC MAKE_DDHRESULT(581)
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)
#define DDERR_DCALREADYCREATED MAKE_DDHRESULT(620)
#define DDERR_NODC MAKE_DDHRESULT(586)
#define DDERR_NOTFLIPPABLE MAKE_DDHRESULT(582)
#define DDERR_PRIMARYSURFACEALREADYEXISTS MAKE_DDHRESULT(564)

// Cooperative levels
#define DDSCL_FULLSCREEN 0x00000001L
#define DDSCL_ALLOWREBOOT 0x00000002L
#define DDSCL_NOWINDOWCHANGES 0x00000004L
#define DDSCL_NORMAL 0x00000008L
#define DDSCL_EXCLUSIVE 0x00000010L

// Surface description flags
#define DDSD_CAPS 0x00000001L
#define DDSD_HEIGHT 0x00000002L
#define DDSD_WIDTH 0x00000004L
#define DDSD_PITCH 0x00000008L
#define DDSD_BACKBUFFERCOUNT 0x00000020L
#define DDSD_LPSURFACE 0x00000800L
#define DDSD_PIXELFORMAT 0x00001000L

// Surface capabilities
#define DDSCAPS_BACKBUFFER 0x00000004L
#define DDSCAPS_COMPLEX 0x00000008L
#define DDSCAPS_FLIP 0x00000010L
#define DDSCAPS_FRONTBUFFER 0x00000020L
#define DDSCAPS_OFFSCREENPLAIN 0x00000040L
#define DDSCAPS_PRIMARYSURFACE 0x00000200L
#define DDSCAPS_SYSTEMMEMORY 0x00000800L
#define DDSCAPS_3DDEVICE 0x00002000L
#define DDSCAPS_VIDEOMEMORY 0x00004000L

// Pixel format flags
#define DDPF_RGB 0x00000040L

// Blt
#define DDBLT_COLORFILL 0x00000400L
#define DDBLT_KEYSRC 0x00008000L
#define DDBLT_WAIT 0x01000000L

// BltFast
#define DDBLTFAST_NOCOLORKEY 0x00000000
#define DDBLTFAST_SRCCOLORKEY 0x00000001
#define DDBLTFAST_DESTCOLORKEY 0x00000002
#define DDBLTFAST_WAIT 0x00000010

// Colour keys
#define DDCKEY_DESTBLT 0x00000002L
#define DDCKEY_SRCBLT 0x00000008L

// Lock
#define DDLOCK_SURFACEMEMORYPTR 0x00000000L
#define DDLOCK_WAIT 0x00000001L

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};
typedef DDCOLORKEY* LPDDCOLORKEY;

struct DDSCAPS {
    DWORD dwCaps;
};
typedef DDSCAPS* LPDDSCAPS;

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    union {
        DWORD dwRGBBitCount;
    };
    union {
        DWORD dwRBitMask;
    };
    union {
        DWORD dwGBitMask;
    };
    union {
        DWORD dwBBitMask;
    };
    union {
        DWORD dwRGBAlphaBitMask;
    };
};
typedef DDPIXELFORMAT* LPDDPIXELFORMAT;

struct DDSURFACEDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    union {
        LONG lPitch;
        DWORD dwLinearSize;
    };
    DWORD dwBackBufferCount;
    union {
        DWORD dwMipMapCount;
        DWORD dwZBufferBitDepth;
        DWORD dwRefreshRate;
    };
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};
typedef DDSURFACEDESC* LPDDSURFACEDESC;

// The z-buffer and alpha members that are surface pointers on Windows are
// plain values here: the program never uses them, and the structure keeps
// its 100 bytes on every target.
struct DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    DWORD dwZDestConst;
    DWORD dwZSrcConstBitDepth;
    DWORD dwZSrcConst;
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    DWORD dwAlphaDestConst;
    DWORD dwAlphaSrcConstBitDepth;
    DWORD dwAlphaSrcConst;
    union {
        DWORD dwFillColor;
        DWORD dwFillDepth;
        DWORD dwFillPixel;
    };
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};
typedef DDBLTFX* LPDDBLTFX;

struct IDirectDrawSurface;
struct IDirectDrawClipper;
typedef IDirectDrawSurface* LPDIRECTDRAWSURFACE;
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;

struct DECLSPEC_NOVTABLE IDirectDrawClipper : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) = 0;

protected:
    ~IDirectDrawClipper() = default;
};

struct DECLSPEC_NOVTABLE IDirectDrawSurface : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Blt(
        LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags, LPDDBLTFX effects)
        = 0;
    virtual HRESULT STDMETHODCALLTYPE BltFast(
        DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags)
        = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDC(HDC* context) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC description) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsLost() = 0;
    virtual HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE event) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReleaseDC(HDC context) = 0;
    virtual HRESULT STDMETHODCALLTYPE Restore() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID surfaceData) = 0;

protected:
    ~IDirectDrawSurface() = default;
};

struct DECLSPEC_NOVTABLE IDirectDraw : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;

protected:
    ~IDirectDraw() = default;
};
typedef IDirectDraw* LPDIRECTDRAW;

struct DECLSPEC_NOVTABLE IDirectDraw2 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateSurface(
        LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface, IUnknown* outer)
        = 0;
    virtual HRESULT STDMETHODCALLTYPE FlipToGDISurface() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(
        DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate, DWORD flags)
        = 0;

protected:
    ~IDirectDraw2() = default;
};
typedef IDirectDraw2* LPDIRECTDRAW2;

inline constexpr GUID IID_IDirectDraw
    = { 0x6C14DB80, 0xA733, 0x11CE, { 0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60 } };
inline constexpr GUID IID_IDirectDraw2
    = { 0xB3A6F3E0, 0x2B43, 0x11CF, { 0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56 } };
inline constexpr GUID IID_IDirectDrawSurface
    = { 0x6C14DB81, 0xA733, 0x11CE, { 0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60 } };
inline constexpr GUID IID_IDirectDrawClipper
    = { 0x6C14DB85, 0xA733, 0x11CE, { 0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60 } };

HRESULT WINAPI DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer);
