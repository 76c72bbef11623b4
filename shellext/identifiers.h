// The COM identity of the extension: its own four marker interfaces and the identifiers of
// its classes, type library and interfaces. The values are defined once, in hushbox_ext.idl;
// the IDL compiler's output (proxy_stub.c) holds them and this header declares them.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <unknwn.h>

extern "C" {
extern const IID IID_HushboxExt_IShellMenu;   // IShellMenu of the type library
extern const IID IID_IShellOverlay;
extern const IID IID_IMyShellIcon;
extern const IID IID_IMyQueryInfo;
extern const IID LIBID_HushboxExtLib;
extern const CLSID CLSID_HushboxShellMenu;
extern const CLSID CLSID_ShellOverlay;
extern const CLSID CLSID_MyShellIcon;
extern const CLSID CLSID_MyQueryInfo;
}

namespace hbx::shellext {

// One marker interface per class: derived directly from IUnknown, no methods of their own.
// (The system's shell headers have an unrelated ::IShellMenu; this one lives in this namespace.)
struct IShellMenu : public IUnknown {};
struct IShellOverlay : public IUnknown {};
struct IMyShellIcon : public IUnknown {};
struct IMyQueryInfo : public IUnknown {};

/// The interface identifier of I, for the interface maps and QueryInterface calls.
template <class I>
const IID& interface_id() {
    return __uuidof(I);
}

template <> inline const IID& interface_id<IShellMenu>() { return IID_HushboxExt_IShellMenu; }
template <> inline const IID& interface_id<IShellOverlay>() { return IID_IShellOverlay; }
template <> inline const IID& interface_id<IMyShellIcon>() { return IID_IMyShellIcon; }
template <> inline const IID& interface_id<IMyQueryInfo>() { return IID_IMyQueryInfo; }

// System interfaces whose headers carry no identifier for __uuidof.
inline constexpr IID iid_query_info = {
    0x00021500, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID iid_extract_icon_w = {
    0x000214FA, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID iid_shell_icon_overlay_identifier = {
    0x0C6C4200, 0xC589, 0x11D0, {0x99, 0x9A, 0x00, 0xC0, 0x4F, 0xD6, 0x55, 0xE1}};

template <> inline const IID& interface_id<IQueryInfo>() { return iid_query_info; }
template <> inline const IID& interface_id<IExtractIconW>() { return iid_extract_icon_w; }
template <> inline const IID& interface_id<IShellIconOverlayIdentifier>() {
    return iid_shell_icon_overlay_identifier;
}

}  // namespace hbx::shellext
