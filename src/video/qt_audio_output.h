#pragma once
// The system's default sound output through Qt Multimedia.
#include <memory>
#include <string>

#include "video/audio_output.h"
#include "video/media_graph.h"

namespace trevanto {

// Needs a Qt application object: without one, or without a device, Open
// fails and the graph plays no sound.
std::unique_ptr<AudioOutput> MakeQtAudioOutput();

// OpenMediaGraph with its sound played on the default output, once asked.
std::unique_ptr<MediaGraph> OpenMediaGraphWithSound(const OpenRequest& request, OpenError& error);

}  // namespace trevanto
