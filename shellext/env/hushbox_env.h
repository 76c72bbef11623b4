// HushboxEnv: the process-wide environment object that the shell extension reaches from its
// module entry. The extension imports CHushboxEnv::Instance() by name, so HushboxExt.dll loads
// only where this library is found beside it (or on the search path).
#pragma once

#ifdef HBX_BUILDING_ENV
#define HBX_ENV_API __declspec(dllexport)
#else
#define HBX_ENV_API __declspec(dllimport)
#endif

class HBX_ENV_API CHushboxEnv {
public:
    /// The one environment object of the process. It exists from the moment the library is
    /// loaded until it is unloaded, so the call is safe from any module entry notification.
    /// Every call is counted.
    static CHushboxEnv* Instance();

    /// How often Instance() was called in this process.
    long reached() const;

    CHushboxEnv(const CHushboxEnv&) = delete;
    CHushboxEnv& operator=(const CHushboxEnv&) = delete;

private:
    CHushboxEnv() = default;
    ~CHushboxEnv() = default;
    friend struct CHushboxEnvHolder;

    volatile long reached_ = 0;
};
