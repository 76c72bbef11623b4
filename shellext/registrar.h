// Carries out registry operations (registry_layout.h) against the system's registry.
#pragma once

#include "registry_layout.h"

#include <windows.h>

#include <vector>

namespace hbx::shellext {

/// Runs the operations in order. A key that is already missing is fine for a deletion.
/// @returns S_OK, or the first failure as an HRESULT of the Win32 facility; nothing after a
///          failure is run.
HRESULT apply(const std::vector<RegistryOperation>& operations);

/// The predefined key of a registry root.
HKEY root_key(RootKey root);

}  // namespace hbx::shellext
