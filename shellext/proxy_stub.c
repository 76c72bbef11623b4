/*
 * The merged proxy/stub of the extension's four interfaces: the IDL compiler's marshalling
 * code, interface identifiers and proxy-file list, built as one unit under the entry prefix
 * "Prx" so that the module's own entry points (server.cpp) call into it first. Its class
 * identifier is that of IMyQueryInfo, the first interface of the proxy-file list.
 */
#define USE_COMPILER_EXCEPTIONS
#define ENTRY_PREFIX Prx
#define REGISTER_PROXY_DLL
#define PROXY_CLSID_IS \
    { 0xf20cdb5d, 0x63e8, 0x4ec1, { 0xa1, 0x36, 0xc2, 0x07, 0x17, 0x07, 0x62, 0x6c } }

/* The system headers already use the name IID_IShellMenu for an unrelated shell interface;
   the extension's own identifier of that name gets a name of its own in the compiled code. */
#define IID_IShellMenu IID_HushboxExt_IShellMenu

#include <objbase.h>

/* The IUnknown slots of every generated proxy (exported by the RPC runtime). */
HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown *This, REFIID riid, void **ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown *This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown *This);

#include "hushbox_ext_p.c"
#include "hushbox_ext_i.c"
#include "dlldata.c"
