// ComObject: the COM identity of a class in one line of its declaration,
//
//   class ShellOverlay : public ComObject<ShellOverlay, IShellOverlay, IShellIconOverlayIdentifier>
//
// The interface list is the class's interface map: QueryInterface answers the listed
// interfaces in that order and IUnknown through the first one. The object counts once in the
// module lock count while it lives. It may be aggregated: then every interface's IUnknown
// delegates to the outer object, and the outer object holds the object's own (inner) IUnknown,
// which alone owns the reference count.
#pragma once

#include "identifiers.h"
#include "module.h"

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>

namespace hbx::shellext {

template <class Derived, class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    /// Creates an object and queries it for `iid`, as a class factory's CreateInstance does:
    /// E_POINTER for a null `out`; with an outer object only IUnknown may be asked for
    /// (CLASS_E_NOAGGREGATION otherwise); E_OUTOFMEMORY; the object is destroyed again when
    /// the query fails.
    static HRESULT create(IUnknown* outer, REFIID iid, void** out) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        Derived* object = new (std::nothrow) Derived();
        if (object == nullptr) return E_OUTOFMEMORY;
        ComObject* base = object;
        base->controlling_ = outer != nullptr ? outer : &base->inner_;
        base->inner_.AddRef();
        const HRESULT result = base->inner_.QueryInterface(iid, out);
        base->inner_.Release();   // destroys the object when the query failed
        return result;
    }

    // The IUnknown of every listed interface: the controlling unknown's.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return controlling_->QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return controlling_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return controlling_->Release(); }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

protected:
    ComObject() : inner_(this) { lock_module(); }
    virtual ~ComObject() { unlock_module(); }

private:
    // The object's own IUnknown: the reference count and the interface map.
    class Inner final : public IUnknown {
    public:
        explicit Inner(ComObject* owner) : owner_(owner) {}
        virtual ~Inner() = default;

        STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
            if (out == nullptr) return E_POINTER;
            *out = owner_->find_interface(iid);
            if (*out == nullptr) return E_NOINTERFACE;
            static_cast<IUnknown*>(*out)->AddRef();
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
        STDMETHODIMP_(ULONG) Release() override {
            const ULONG left = --references_;
            if (left == 0) delete owner_;
            return left;
        }

    private:
        ComObject* owner_;
        std::atomic<ULONG> references_{0};
    };

    // The interface map, walked in the order of the class's interface list.
    void* find_interface(REFIID iid) {
        Derived* self = static_cast<Derived*>(this);
        if (IsEqualIID(iid, IID_IUnknown)) {
            // An aggregating object must receive the inner unknown; otherwise the identity
            // is the first interface.
            if (controlling_ != &inner_) return static_cast<IUnknown*>(&inner_);
            return static_cast<First*>(self);
        }
        void* found = nullptr;
        (void)(match<First>(self, iid, found) || ... || match<Rest>(self, iid, found));
        return found;
    }

    template <class I>
    static bool match(Derived* self, REFIID iid, void*& found) {
        if (!IsEqualIID(iid, interface_id<I>())) return false;
        found = static_cast<I*>(self);
        return true;
    }

    Inner inner_;
    IUnknown* controlling_ = nullptr;
};

}  // namespace hbx::shellext
