#include "cli/shot_printer.h"

namespace trevanto::cli {

void PrintShots(const ShotList& shots, std::ostream& out) {
    for (const auto& shot : shots) {
        out << shot->number << '\t' << shot->startFrame << '\t' << shot->endFrame << '\t'
            << shot->caption << '\n';
    }
    out.flush();
}

}  // namespace trevanto::cli
