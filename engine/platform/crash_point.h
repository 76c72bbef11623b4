// Step boundaries of the seam's changes to the disk, for the crash harness.
//
// Every call of the seam that changes something on the disk (a folder made, a file written, a
// move, a delete) is bracketed by HBX_CRASH_POINT: once before it, and once after it when it
// changed something. A write that replaces a file has one more boundary in its middle: the new
// content stands in its temporary file and has not yet been renamed over the target.
//
// In the shipped engine the macro is empty and its arguments are not even evaluated. Only the
// engine library that the crash harness builds for itself defines HBX_CRASH_POINTS; there the
// harness's crash_point stops the process at a boundary it chooses, so that it can check what
// a process killed at exactly that moment leaves on the disk.
#pragma once

#ifdef HBX_CRASH_POINTS

#include <string>

namespace hbx::platform {

/// Reports a step boundary: `step` names it ("move before", "write temporary", ...), `where`
/// is the path it concerns (UTF-8, for the harness's messages). Defined by the harness.
void crash_point(const char* step, const std::string& where);

}  // namespace hbx::platform

#define HBX_CRASH_POINT(step, where) ::hbx::platform::crash_point(step, where)

#else

#define HBX_CRASH_POINT(step, where) ((void)0)

#endif
