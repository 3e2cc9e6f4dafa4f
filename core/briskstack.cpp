// The stack's range and null errors.
#include "core/briskstack.hpp"

#include <string>

namespace briskstack_detail {

void RaiseNull(const char* message) {
    throw IllegalArgumentException(message);
}

void RaiseIndex(int index, int count) {
    throw IndexOutOfBoundsException("BriskStack.Get: Index out of bounds: " + std::to_string(index) +
                                    " is not 0<=index<" + std::to_string(count));
}

}  // namespace briskstack_detail
