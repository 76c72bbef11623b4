// Benchmarks of the lock engine on Linux. Each figure of the engine has a baseline measured in
// the same run: the bare system calls that the same work needs, done directly on the native
// paths. bench/run.sh prints the ratios; a benchmark never judges its own time.
//
//   lock_unlock/<item>/engine    LockService::lock, then unlock, of one item
//   lock_unlock/<item>/bare      what they need: the stub and the lock list written with an
//                                atomic replace (temporary file, fsync, rename, fsync of the
//                                folder), the move into the item folder and back, the stub's
//                                delete
//   .../bare_with_in_use_scan    the same, with the walk over /proc that tells on Linux whether
//                                a process holds the item open, before each of the two moves
//   lock_unlock/sizes_in_turn    a 1 KiB file, a 1 GiB sparse file, a folder of 1 file and one
//                                of 10,000 files, each locked and unlocked in turn in every
//                                iteration; the mean of each is a counter
//   list/engine                  list_items over 10,000 items on two volumes
//   list/bare                    readdir of the data folders and item folders and one stat per
//                                item, as the listing needs
//   call/<function>/engine|bare  one call of hash_text, classify, vault_location and
//                                stub_target, against MD5 of the same bytes or the stat (and
//                                read) they need
#include "lock_service.h"
#include "item_inspector.h"
#include "native_path.h"
#include "paths.h"
#include "platform/platform.h"
#include "text.h"
#include "vault.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace hbx;
namespace fs = std::filesystem;

namespace {

// ---- volumes -------------------------------------------------------------------------------------

// Volumes in a temporary folder, for the whole run: D: for lock and unlock, E: and F: for the
// listing, N: (a network drive, never listed) for the single calls.
class Volumes {
public:
    Volumes() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/hbx-bench-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        root_ = pattern;
        for (const char* v : {"c", "d", "e", "f", "n"}) fs::create_directories(root_ + "/" + v);
        const std::string map = "C=" + root_ + "/c,D=" + root_ + "/d,E=" + root_ +
                                "/e:removable,F=" + root_ + "/f,N=" + root_ + "/n:network";
        setenv("HUSHBOX_VOLUMES", map.c_str(), 1);
    }
    ~Volumes() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    // Empties a volume (its vault included).
    void clear(char letter) const {
        const std::string dir = root_ + "/" + static_cast<char>(letter - 'A' + 'a');   // "d" for D
        std::error_code ignored;
        fs::remove_all(dir, ignored);
        fs::create_directories(dir);
    }

private:
    std::string root_;
};

const Volumes& volumes() {
    static const Volumes v;
    return v;
}

std::string native(const std::u16string& engine) { return to_native_path(engine).native; }

void write_native(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// ---- the bare calls ----------------------------------------------------------------------------

// The atomic replace the engine's files get: a temporary file beside, fsync, rename, fsync of
// the folder.
void replace_bare(const std::string& target, const std::string& bytes) {
    const std::string folder = target.substr(0, target.rfind('/'));
    std::string temp = folder + "/." + target.substr(target.rfind('/') + 1) + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) std::abort();
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
    fsync(fd);
    close(fd);
    if (rename(temp.c_str(), target.c_str()) != 0) std::abort();
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fsync(dir);
    close(dir);
}

// The in-use test of a move on Linux, done bare: every descriptor of every process of the user
// looked at through /proc, as the seam does before each move (the file is found by its inode).
bool held_open_bare(const std::string& item) {
    struct stat wanted;
    if (lstat(item.c_str(), &wanted) != 0) return false;
    DIR* proc = opendir("/proc");
    const int proc_fd = dirfd(proc);
    bool used = false;
    while (const dirent* entry = readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        struct stat st;
        if (fstatat(proc_fd, entry->d_name, &st, 0) != 0 || st.st_uid != getuid()) continue;
        const std::string fd_path = std::string(entry->d_name) + "/fd";
        const int fd_dir = openat(proc_fd, fd_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_dir < 0) continue;
        DIR* fds = fdopendir(fd_dir);
        while (const dirent* fd = readdir(fds)) {
            struct stat open_file;
            if (fd->d_name[0] != '.' && fstatat(fd_dir, fd->d_name, &open_file, 0) == 0 &&
                open_file.st_dev == wanted.st_dev && open_file.st_ino == wanted.st_ino) {
                used = true;
            }
        }
        closedir(fds);
    }
    closedir(proc);
    return used;
}

// ---- lock and unlock -----------------------------------------------------------------------------

enum class Item { small_file, sparse_file, small_folder, big_folder };

const std::u16string item_dir = u"D:\\Users\\ann\\";

std::u16string make_item(Item kind) {
    volumes().clear('D');
    switch (kind) {
        case Item::small_file: {
            const std::u16string path = item_dir + u"a.txt";
            write_native(native(path), std::string(1024, 'x'));
            return path;
        }
        case Item::sparse_file: {
            const std::u16string path = item_dir + u"big.bin";
            write_native(native(path), "");
            if (truncate(native(path).c_str(), 1ll << 30) != 0) std::abort();
            return path;
        }
        case Item::small_folder:
        case Item::big_folder: {
            const std::u16string path = item_dir + u"docs";
            const std::string dir = native(path);
            const int files = kind == Item::big_folder ? 10000 : 1;
            for (int i = 0; i < files; ++i) {
                write_native(dir + "/d" + std::to_string(i / 100) + "/f" + std::to_string(i), "f");
            }
            return path;
        }
    }
    return {};
}

void lock_unlock_engine(benchmark::State& state, Item kind) {
    const std::u16string path = make_item(kind);
    auto& service = LockService::instance();
    LOCK_TYPE type;
    std::u16string place;
    // Once before the clock runs: the vault and the lock list entry exist from then on.
    if (!service.lock(path, LOCK_TYPE_LOCK) || !service.unlock(path, type, place)) std::abort();
    for (auto _ : state) {
        if (!service.lock(path, LOCK_TYPE_LOCK)) state.SkipWithError("lock failed");
        if (!service.unlock(path, type, place)) state.SkipWithError("unlock failed");
    }
}

void lock_unlock_bare(benchmark::State& state, Item kind, bool with_scan) {
    const std::u16string path = make_item(kind);
    const bool folder = kind == Item::big_folder || kind == Item::small_folder;
    const std::string source = native(path);
    const std::string stub = source + (folder ? ".hbxfolder" : ".hbxfile");
    const std::u16string hash = hash_text(item_dir);
    const std::string item_folder_native = native(item_folder(u"D:", item_dir));
    const std::string in_vault = item_folder_native + source.substr(source.rfind('/'));
    const std::string list = native(vault_root(u"D:")) + "path.list";
    fs::create_directories(item_folder_native);
    const std::string stub_bytes = "[ENCRYPTINFO]\r\nSRC=" + to_utf8(after_root(path)) + "\r\n";
    const std::string list_bytes = "{\n    \"hash_path\": {\n        \"" + to_utf8(hash) +
                                   "\": \"\\\\Users\\\\ann\\\\\"\n    }\n}\n";
    for (auto _ : state) {
        replace_bare(stub, stub_bytes);
        replace_bare(list, list_bytes);
        if (with_scan && held_open_bare(source)) state.SkipWithError("in use");
        if (rename(source.c_str(), in_vault.c_str()) != 0) state.SkipWithError("rename");
        if (with_scan && held_open_bare(in_vault)) state.SkipWithError("in use");
        if (rename(in_vault.c_str(), source.c_str()) != 0) state.SkipWithError("rename back");
        unlink(stub.c_str());
    }
}

// The four items side by side, locked and unlocked in turn within every iteration, so that the
// machine's slow and fast moments fall on all of them alike: the mean time of each, in
// milliseconds, is a counter of the benchmark.
void lock_unlock_sizes(benchmark::State& state) {
    volumes().clear('D');
    const std::string dir = native(item_dir);
    write_native(dir + "/a.txt", std::string(1024, 'x'));
    write_native(dir + "/big.bin", "");
    if (truncate((dir + "/big.bin").c_str(), 1ll << 30) != 0) std::abort();
    write_native(dir + "/one/d0/f0", "f");
    for (int i = 0; i < 10000; ++i) {
        write_native(dir + "/many/d" + std::to_string(i / 100) + "/f" + std::to_string(i), "f");
    }
    const std::pair<const char*, std::u16string> items[] = {
        {"1KiB_file", item_dir + u"a.txt"},
        {"1GiB_sparse_file", item_dir + u"big.bin"},
        {"folder_of_1_file", item_dir + u"one"},
        {"folder_of_10000_files", item_dir + u"many"},
    };
    auto& service = LockService::instance();
    LOCK_TYPE type;
    std::u16string place;
    double total[4] = {};
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i) {
            const auto start = std::chrono::steady_clock::now();
            if (!service.lock(items[i].second, LOCK_TYPE_LOCK) ||
                !service.unlock(items[i].second, type, place)) {
                state.SkipWithError("lock or unlock failed");
            }
            total[i] += std::chrono::duration<double, std::milli>(
                            std::chrono::steady_clock::now() - start).count();
        }
    }
    for (int i = 0; i < 4; ++i) {
        state.counters[items[i].first] = total[i] / static_cast<double>(state.iterations());
    }
}

// ---- the listing -----------------------------------------------------------------------------------

constexpr int source_folders = 50;   // per volume
constexpr int items_per_folder = 100;

// 10,000 items on E: and F:, half of them locked (their stub stands at the source path), half
// hidden, with the lock list naming every item folder. Made directly on the disk.
void make_vaults() {
    static bool made = false;
    if (made) return;
    made = true;
    for (const char16_t letter : {u'E', u'F'}) {
        volumes().clear(static_cast<char>(letter));
        const std::u16string volume = std::u16string(1, letter) + u":";
        std::string list = "{\n    \"hash_path\": {\n";
        for (int f = 0; f < source_folders; ++f) {
            const std::u16string directory = u"\\" + from_utf8(std::to_string(f)) + u"-folder\\";
            const std::string hash = to_utf8(hash_text(directory));
            list += "        \"" + hash + "\": \"\\\\" + std::to_string(f) + "-folder\\\\\"";
            list += f + 1 < source_folders ? ",\n" : "\n";
            const std::string vault = native(item_folder(volume, directory));
            const std::string source = native(volume + directory);
            fs::create_directories(source);
            for (int i = 0; i < items_per_folder; ++i) {
                const std::string name = "item" + std::to_string(i) + ".txt";
                write_native(vault + "/" + name, "x");
                if (i % 2 == 0) write_native(source + "/" + name + ".hbxfile", "[ENCRYPTINFO]\r\n");
            }
        }
        list += "    }\n}\n";
        write_native(native(vault_root(volume)) + "path.list", list);
    }
}

void list_engine(benchmark::State& state) {
    make_vaults();
    std::vector<LockedItem> items;
    for (auto _ : state) {
        LockService::instance().list_items(items);
        if (items.size() != 2u * source_folders * items_per_folder) state.SkipWithError("count");
    }
    state.counters["items"] = static_cast<double>(items.size());
}

void list_bare(benchmark::State& state) {
    make_vaults();
    const std::string data[] = {native(data_folder(u"E:")), native(data_folder(u"F:"))};
    std::size_t count = 0;
    for (auto _ : state) {
        count = 0;
        for (int v = 0; v < 2; ++v) {
            DIR* folders = opendir(data[v].c_str());
            while (const dirent* folder = readdir(folders)) {
                if (folder->d_name[0] == '.') continue;
                const std::string item_folder = data[v] + "/" + folder->d_name;
                DIR* items = opendir(item_folder.c_str());
                while (const dirent* item = readdir(items)) {
                    if (item->d_name[0] == '.') continue;
                    struct stat st;
                    // the one existence test per item: its stub
                    stat((item_folder + "/" + item->d_name + ".hbxfile").c_str(), &st);
                    ++count;
                }
                closedir(items);
            }
            closedir(folders);
        }
        benchmark::DoNotOptimize(count);
    }
    state.counters["items"] = static_cast<double>(count);
}

// ---- single calls ------------------------------------------------------------------------------------

const std::u16string call_dir = u"N:\\Users\\ann\\Documents\\";

void make_calls() {
    static bool made = false;
    if (made) return;
    made = true;
    volumes().clear('N');
    write_native(native(call_dir + u"plain.txt"), "plain");
    write_native(native(call_dir + u"a.txt"), "a");
    if (!LockService::instance().lock(call_dir + u"a.txt", LOCK_TYPE_LOCK)) std::abort();
    // A stub renamed by the user: its item is found through SRC.
    fs::rename(native(call_dir + u"a.txt.hbxfile"), native(call_dir + u"renamed.txt.hbxfile"));
}

void hash_engine(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(hash_text(call_dir));
}

void hash_bare(benchmark::State& state) {
    std::string bytes;
    for (char16_t c : call_dir) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    for (auto _ : state) benchmark::DoNotOptimize(platform::md5(bytes.data(), call_dir.size()));
}

void classify_engine(benchmark::State& state) {
    make_calls();
    auto& inspector = ItemInspector::instance();
    for (auto _ : state) benchmark::DoNotOptimize(inspector.classify(call_dir + u"plain.txt"));
}

void stat_bare(benchmark::State& state, const std::u16string& path) {
    make_calls();
    const std::string n = native(path);
    struct stat st;
    for (auto _ : state) benchmark::DoNotOptimize(lstat(n.c_str(), &st));
}

void vault_location_engine(benchmark::State& state) {
    make_calls();
    auto& service = LockService::instance();
    for (auto _ : state) benchmark::DoNotOptimize(service.vault_location(call_dir + u"a.txt"));
}

void stub_target_engine(benchmark::State& state, const std::u16string& stub) {
    make_calls();
    auto& service = LockService::instance();
    for (auto _ : state) benchmark::DoNotOptimize(service.stub_target(stub));
}

// The renamed stub: the candidate's stat, then the stub read whole.
void stub_read_bare(benchmark::State& state) {
    make_calls();
    const std::string candidate = native(vault_root(u"N:")) + "data/" +
                                  to_utf8(hash_text(call_dir)) + "/renamed.txt";
    const std::string stub = native(call_dir + u"renamed.txt.hbxfile");
    struct stat st;
    char buffer[512];
    for (auto _ : state) {
        benchmark::DoNotOptimize(lstat(candidate.c_str(), &st));
        const int fd = open(stub.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(read(fd, buffer, sizeof buffer));
        close(fd);
    }
}

}  // namespace

BENCHMARK_CAPTURE(lock_unlock_engine, 1KiB_file, Item::small_file)->Name("lock_unlock/1KiB_file/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_bare, 1KiB_file, Item::small_file, false)->Name("lock_unlock/1KiB_file/bare")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_bare, 1KiB_file, Item::small_file, true)->Name("lock_unlock/1KiB_file/bare_with_in_use_scan")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_engine, 1GiB_sparse_file, Item::sparse_file)->Name("lock_unlock/1GiB_sparse_file/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_bare, 1GiB_sparse_file, Item::sparse_file, false)->Name("lock_unlock/1GiB_sparse_file/bare")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_engine, folder_of_1, Item::small_folder)->Name("lock_unlock/folder_of_1_file/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_bare, folder_of_1, Item::small_folder, false)->Name("lock_unlock/folder_of_1_file/bare")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_engine, folder_of_10000, Item::big_folder)->Name("lock_unlock/folder_of_10000_files/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lock_unlock_bare, folder_of_10000, Item::big_folder, false)->Name("lock_unlock/folder_of_10000_files/bare")->Unit(benchmark::kMicrosecond);
BENCHMARK(lock_unlock_sizes)->Name("lock_unlock/sizes_in_turn/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(list_engine)->Name("list/10000_items_2_volumes/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(list_bare)->Name("list/10000_items_2_volumes/bare")->Unit(benchmark::kMillisecond);
BENCHMARK(hash_engine)->Name("call/hash_text/engine");
BENCHMARK(hash_bare)->Name("call/hash_text/bare");
BENCHMARK(classify_engine)->Name("call/classify/engine");
BENCHMARK_CAPTURE(stat_bare, classify, call_dir + u"plain.txt")->Name("call/classify/bare");
BENCHMARK(vault_location_engine)->Name("call/vault_location/engine");
BENCHMARK_CAPTURE(stat_bare, vault_location, u"N:\\...\\hbx\\data\\" + hash_text(call_dir) + u"\\a.txt")->Name("call/vault_location/bare");
BENCHMARK_CAPTURE(stub_target_engine, in_vault, call_dir + u"a.txt.hbxfile")->Name("call/stub_target_item_in_vault/engine");
BENCHMARK_CAPTURE(stat_bare, stub_target, u"N:\\...\\hbx\\data\\" + hash_text(call_dir) + u"\\a.txt")->Name("call/stub_target_item_in_vault/bare");
BENCHMARK_CAPTURE(stub_target_engine, renamed, call_dir + u"renamed.txt.hbxfile")->Name("call/stub_target_renamed_stub/engine");
BENCHMARK(stub_read_bare)->Name("call/stub_target_renamed_stub/bare");

BENCHMARK_MAIN();
