// ClassFactory<T>: the class object of a creatable class. A new factory is made for every
// request; it counts in the module lock count for as long as a client holds it.
#pragma once

#include "com_object.h"
#include "module.h"

namespace hbx::shellext {

template <class T>
class ClassFactory : public ComObject<ClassFactory<T>, IClassFactory> {
public:
    /// A new factory for T, queried for `iid`.
    static HRESULT get(REFIID iid, void** out) {
        return ClassFactory::create(nullptr, iid, out);
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return T::create(outer, iid, out);
    }

    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            lock_module();
        } else {
            unlock_module();
        }
        return S_OK;
    }
};

}  // namespace hbx::shellext
