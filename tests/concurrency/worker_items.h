// The items of one worker of the concurrency test, known to the worker and to the test alike.
#pragma once

#include "text.h"

#include <string>
#include <vector>

namespace hbx::test {

struct WorkerItem {
    std::u16string path;    // source path on D:
    std::string bytes;      // its own bytes: the file, or the file "inner\f.txt" of the folder
    bool folder = false;
};

/// Worker k's items, in three kinds of source folder:
///   D:\shared\         one folder for every worker: one item folder and one lock list entry
///   D:\<k>own\         a folder of its own, with an item folder of its own
///   D:\w<k>\           folders whose directory parts hash alike (the hash covers only "\w"),
///                      so every worker's items land in one item folder with a source record
inline std::vector<WorkerItem> worker_items(int k) {
    const std::u16string n = from_utf8(std::to_string(k));
    const std::string tag = "<worker " + std::to_string(k) + " ";
    return {
        {u"D:\\shared\\w" + n + u"-s0.txt", tag + "s0>"},
        {u"D:\\shared\\w" + n + u"-s1.txt", tag + "s1>"},
        {u"D:\\shared\\w" + n + u"-dir", tag + "dir>", true},
        {u"D:\\" + n + u"own\\f0.txt", tag + "own f0>"},
        {u"D:\\" + n + u"own\\f1.txt", tag + "own f1>"},
        {u"D:\\w" + n + u"\\c" + n + u"-0.txt", tag + "c0>"},
        {u"D:\\w" + n + u"\\c" + n + u"-1.txt", tag + "c1>"},
    };
}

}  // namespace hbx::test
