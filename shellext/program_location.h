// Where the program Hushbox is, seen from the extension: beside the extension's module, or in
// the folder above it.
#pragma once

#include <string>
#include <string_view>

namespace hbx::shellext {

/// The program's file name.
inline constexpr std::u16string_view program_file_name = u"hushbox.exe";

struct ProgramCandidates {
    std::u16string beside;   // the module's folder + hushbox.exe
    std::u16string above;    // the folder above the module's folder + hushbox.exe
};

/// The two candidates for the module at `module_path`. Each folder keeps its trailing
/// backslash; a module at a volume root has no folder above, and both candidates are the same.
ProgramCandidates program_candidates(std::u16string_view module_path);

/// The program's full path: the candidate beside the module when a file exists there,
/// otherwise the one above, whether or not it exists.
std::u16string locate_program();

}  // namespace hbx::shellext
