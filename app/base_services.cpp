#include "base_services.h"

namespace hbx::app {

namespace {
base::BaseTable* table = nullptr;   // process-wide; never freed
}

void bootstrap_base() {
    table = new base::BaseTable;   // default-initialised: not cleared
    base::fnBase(table);
}

const base::BaseTable& base_services() { return *table; }

}  // namespace hbx::app
