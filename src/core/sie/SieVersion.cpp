// The version of the program, from the build.
#include "KvistoranVersion.h"
#include "sie/SieWriter.h"

namespace kv {

const char* sieProgramVersion() {
    return KVISTORAN_VERSION;
}

} // namespace kv
