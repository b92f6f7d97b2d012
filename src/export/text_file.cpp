#include "export/text_file.h"

#include "common/atomic_file.h"

namespace trevanto {

bool WriteTextFile(const std::string& path, const std::string& text) {
    // Beside the old file first: a failure leaves it as it was.
    return WriteFileAtomically(path, text);
}

}  // namespace trevanto
