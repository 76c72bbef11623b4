// Fresh, empty volumes for a test, the same letters in both lanes:
//   C: and D: fixed, E: removable, N: network, R: CD-ROM.
// Linux: temporary folders mapped through HUSHBOX_VOLUMES. Windows (Wine): the test drives of
// the lane's prefix, emptied; on C: only the vault folders and the scratch folder C:\hbxtest.
#pragma once

#include <map>
#include <string>

namespace hbx::test {

class TestVolumes {
public:
    TestVolumes();
    ~TestVolumes();
    TestVolumes(const TestVolumes&) = delete;
    TestVolumes& operator=(const TestVolumes&) = delete;

    /// "X:\" followed by `rest`.
    static std::u16string at(char16_t letter, const std::u16string& rest = u"");

    /// Empties every volume again.
    void clear();

private:
    std::string root_;         // Linux: the temporary folder holding the volumes
    std::string saved_map_;    // Linux: HUSHBOX_VOLUMES before the test
    bool had_map_ = false;
};

/// Writes a file (its folder must exist); fails the test when that is not possible.
void write_file(const std::u16string& path, const std::string& bytes);

/// The bytes of a file, or "<missing>".
std::string read_file(const std::u16string& path);

/// Adds every file below `folder`, at any depth, to `files` with its bytes.
void read_tree(const std::u16string& folder, std::map<std::u16string, std::string>& files);

/// Puts an item at `path`, making the folders on the way: a file holding `bytes`, or, when
/// `folder`, a folder whose file inner\f.txt holds them.
void place_item(const std::u16string& path, const std::string& bytes, bool folder);

/// Creates a folder and its missing parents (not hidden).
void make_folders(const std::u16string& path);

/// Removes a file or a folder with everything in it; a missing path is fine.
void remove_tree(const std::u16string& path);

/// True when the folder or file carries the hidden attribute (Windows) or a name that starts
/// with a dot (Linux).
bool looks_hidden(const std::u16string& path);

/// The folder of the running test program, in native form.
std::string program_folder();

}  // namespace hbx::test
