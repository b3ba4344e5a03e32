#include "support/driver_residency.hpp"

#include <dlfcn.h>
#include <glob.h>

void keepGraphicsDriverLoaded() {
    static const bool pinned = [] {
        glob_t found{};
        bool loaded = false;
        if (glob("/usr/lib/*/dri/swrast_dri.so", 0, nullptr, &found) == 0 && found.gl_pathc > 0) {
            // Never closed: RTLD_NODELETE keeps it mapped past Mesa's own dlclose too.
            loaded = dlopen(found.gl_pathv[0], RTLD_LAZY | RTLD_NODELETE) != nullptr;
        }
        globfree(&found);
        return loaded;
    }();
    (void)pinned;
}
