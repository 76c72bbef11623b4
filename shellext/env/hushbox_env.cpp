#include "hushbox_env.h"

#include <windows.h>

// Holds the object at namespace scope: it is constructed while the library is loaded, before any
// module that imports it runs its entry point, so Instance() never needs a first-use guard
// under the loader lock.
struct CHushboxEnvHolder {
    CHushboxEnv env;
};

namespace {
CHushboxEnvHolder holder;
}

CHushboxEnv* CHushboxEnv::Instance() {
    InterlockedIncrement(&holder.env.reached_);
    return &holder.env;
}

long CHushboxEnv::reached() const { return reached_; }
