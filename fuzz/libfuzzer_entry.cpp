// libFuzzer's entry point for one target, chosen when this file is compiled (XB_FUZZ_TARGET).
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return xb::fuzz::XB_FUZZ_TARGET(data, size);
}
