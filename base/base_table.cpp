#include "base_table.h"

#include "text.h"

#include <deque>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace hbx::base {

namespace {

#ifdef _WIN32
constexpr char16_t separator = u'\\';
#else
constexpr char16_t separator = u'/';
#endif

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// Copies `text` into a 260-unit buffer, or the empty text when it does not fit.
char16_t* put(const std::u16string& text, char16_t* out) {
    if (text.size() >= static_cast<std::size_t>(buffer_units)) {
        out[0] = 0;
        return out;
    }
    text.copy(out, text.size());
    out[text.size()] = 0;
    return out;
}

std::u16string text_of(const char16_t* text) { return text ? std::u16string(text) : u""; }

// The length of the root of `path`: "C:\" (3), "C:" (2), "/" (1), or 0 when it has none.
std::size_t root_length(const std::u16string& path) {
    if (path.size() >= 2 && path[1] == u':') return path.size() >= 3 && is_separator(path[2]) ? 3 : 2;
    if (!path.empty() && is_separator(path[0])) return 1;
    return 0;
}

// The position after the last separator of `path` (0 when it has none).
std::size_t name_start(const std::u16string& path) {
    const std::size_t last = path.find_last_of(u"\\/");
    if (last == std::u16string::npos) return path.size() >= 2 && path[1] == u':' ? 2 : 0;
    return last + 1;
}

// `path` without the separators that end it; a root keeps its own.
std::u16string without_trailing_separators(std::u16string path) {
    const std::size_t root = root_length(path);
    while (path.size() > root && is_separator(path.back())) path.pop_back();
    return path;
}

char16_t* module_folder(const void* module, char16_t* out) {
    std::u16string path;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(static_cast<HMODULE>(const_cast<void*>(module)),
                                       buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n > 0 && n < buffer.size()) path.assign(buffer.begin(), buffer.begin() + n);
#else
    if (module == nullptr) {
        std::string buffer(PATH_MAX, '\0');
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) {
            path = from_utf8(buffer.substr(0, static_cast<std::size_t>(n)));
        }
    }
#endif
    const std::size_t start = name_start(path);
    if (start == 0) return put(u"", out);
    std::size_t end = start - 1;
    if (end < root_length(path)) end = root_length(path);
    return put(path.substr(0, end), out);
}

char16_t* join(const char16_t* folder, const char16_t* name, char16_t* out) {
    std::u16string joined = text_of(folder);
    const std::u16string tail = text_of(name);
    if (joined.empty()) return put(tail, out);
    if (!is_separator(joined.back())) joined += separator;
    std::size_t skip = 0;
    while (skip < tail.size() && is_separator(tail[skip])) ++skip;
    return put(joined + tail.substr(skip), out);
}

char16_t* chooser_place(const char16_t* chosen, char16_t* out) {
    const std::u16string path = without_trailing_separators(text_of(chosen));
    const std::size_t root = root_length(path);
    const std::size_t start = name_start(path);
    if (path.size() <= root || start == 0) return put(path, out);
    std::size_t end = start - 1;
    if (end < root) end = root;
    return put(path.substr(0, end), out);
}

// The name `path` ends with; a root has none.
std::u16string name_of(const char16_t* path) {
    const std::u16string text = without_trailing_separators(text_of(path));
    if (text.size() <= root_length(text)) return u"";
    return text.substr(name_start(text));
}

char16_t* last_component(const char16_t* path, char16_t* out) { return put(name_of(path), out); }

char16_t* extension(const char16_t* path, char16_t* out) {
    const std::u16string name = name_of(path);
    const std::size_t dot = name.rfind(u'.');
    return put(dot == std::u16string::npos ? u"" : name.substr(dot), out);
}

std::u16string* transform_password(std::u16string* out, const std::u16string* in) {
    *out = transform(in ? *in : u"");
    return out;
}

using Texts = std::deque<std::u16string>;   // a deque never moves the texts it holds

void release_transform(TransformHandle* handle) {
    if (handle == nullptr) return;
    delete static_cast<Texts*>(handle->state);
    delete handle;
}

TransformHandle* open_transform() { return new TransformHandle{new Texts, release_transform}; }

const char16_t* transform_text(TransformHandle* handle, const char16_t* text, int /*reserved*/) {
    Texts& texts = *static_cast<Texts*>(handle->state);
    texts.push_back(transform(text_of(text)));
    return texts.back().c_str();
}

}  // namespace

std::u16string transform(const std::u16string& text) {
    std::u16string result = text.substr(0, text.find(u'\0'));
    if (result.size() > static_cast<std::size_t>(password_units)) {
        std::size_t keep = password_units;
        const char16_t last = result[keep - 1];
        if (last >= 0xD800 && last <= 0xDBFF) --keep;   // do not split a surrogate pair
        result.resize(keep);
    }
    return result;
}

int fnBase(BaseTable* table) {
    table->module_folder = module_folder;
    table->join = join;
    table->chooser_place = chooser_place;
    table->last_component = last_component;
    table->extension = extension;
    table->transform_password = transform_password;
    table->open_transform = open_transform;
    table->transform_text = transform_text;
    return 1;
}

}  // namespace hbx::base
