#include "match/outcomes.hpp"

#include <iterator>

const char* slotCode(int32_t slot) {
    if (slot == -1) {
        return "bin";
    }
    return slot >= 0 && slot < static_cast<int32_t>(std::size(kSlotCodes)) ? kSlotCodes[slot] : "";
}

const char* rotationCode(int32_t kind) {
    return kind >= 0 && kind < static_cast<int32_t>(std::size(kRotationCodes)) ? kRotationCodes[kind] : "";
}
