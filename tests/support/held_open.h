// Another process that holds an item open, as a second program of the user would.
#pragma once

#include <string>

namespace hbx::test {

class HeldOpen {
public:
    enum class How {
        file,            // the file is open (Windows: without sharing)
        working_folder,  // the folder is the process's working directory
    };

    /// Starts the helper program on the engine path and waits until it holds the item.
    HeldOpen(const std::u16string& path, How how);
    /// Ends the helper, which lets the item go.
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

    /// True when the helper reported that it holds the item.
    bool holding() const { return holding_; }

private:
    bool holding_ = false;
#ifdef _WIN32
    void* process_ = nullptr;
    void* input_ = nullptr;
#else
    int pid_ = -1;
    int input_ = -1;
#endif
};

}  // namespace hbx::test
