#include "ui_language_scope.h"

namespace hbx::shellext {

namespace {
using GetThreadUILanguageFn = LANGID(WINAPI*)();

template <class F>
F function(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

UiLanguageScope::UiLanguageScope(LANGID language) : language_(language) {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto get = function<GetThreadUILanguageFn>(kernel, "GetThreadUILanguage");
    set_ = function<SetThreadUILanguageFn>(kernel, "SetThreadUILanguage");
    if (get != nullptr && set_ != nullptr) {
        previous_ = get();
        set_(language_);
    } else {
        set_ = nullptr;
        SetThreadLocale(MAKELCID(language_, SORT_DEFAULT));
    }
}

UiLanguageScope::~UiLanguageScope() {
    if (set_ != nullptr && previous_ != 0) set_(previous_);
}

}  // namespace hbx::shellext
