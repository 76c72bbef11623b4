// The program's Base service table: filled at the very start of main, before the application
// object exists, and kept until the process ends, so that every later part may use it.
#pragma once

#include "base_table.h"

namespace hbx::app {

/// Takes the table's block from the heap (its content is not cleared first: fnBase fills every
/// entry), keeps its address for the life of the process and calls fnBase on it. Its return
/// value is not looked at. Called once; the block is never freed.
void bootstrap_base();

/// The table that bootstrap_base() filled.
const base::BaseTable& base_services();

}  // namespace hbx::app
