#include "ui/about_text.h"

#include <QtGlobal>

#include "trevanto_version.h"

namespace trevanto {

std::string AboutText() {
    return std::string("Trevanto\nVersion ") + kTrevantoVersion +
           "\n\nSlices videos into shots and turns them into thumbnails, JPEG images, shot "
           "lists and web pages.\n\n"
           "Trevanto: copyright Qelvar, all rights reserved.\n"
           "Built on:\n"
           "- Qt " +
           qVersion() +
           ", under the GNU Lesser General Public License version 3 (www.qt.io)\n"
           "- FFmpeg, under the GNU Lesser General Public License version 2.1 or later, or the GNU "
           "General Public License version 2 or later as built by the distribution "
           "(ffmpeg.org)\n"
           "- libjpeg-turbo, under the IJG License and the Modified BSD License "
           "(libjpeg-turbo.org); this software is based in part on the work of the "
           "Independent JPEG Group.\n\n"
           "The user guide: Help > Help Topics (F1). The keys of every command: Help > "
           "Keyboard shortcuts.";
}

}  // namespace trevanto
