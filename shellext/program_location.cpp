#include "program_location.h"

#include "module.h"
#include "wide.h"

#include <windows.h>
#include <shlwapi.h>

namespace hbx::shellext {

ProgramCandidates program_candidates(std::u16string_view module_path) {
    const std::size_t slash = module_path.find_last_of(u'\\');
    const std::u16string_view folder =
        slash == std::u16string_view::npos ? std::u16string_view() : module_path.substr(0, slash + 1);

    std::u16string_view up = folder;
    if (!up.empty()) up.remove_suffix(1);   // the folder's own trailing backslash
    const std::size_t above_slash = up.find_last_of(u'\\');
    const std::u16string_view above =
        above_slash == std::u16string_view::npos ? folder : up.substr(0, above_slash + 1);

    return {std::u16string(folder) + std::u16string(program_file_name),
            std::u16string(above) + std::u16string(program_file_name)};
}

std::u16string locate_program() {
    ProgramCandidates candidates = program_candidates(module_path());
    if (PathFileExistsW(wide(candidates.beside))) return candidates.beside;
    return candidates.above;
}

}  // namespace hbx::shellext
