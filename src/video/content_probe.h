#pragma once
// Whether a file holds a video, told by its first bytes as FFmpeg's format
// probe reads them, whatever its name: a batch walking a folder finds the
// videos that carry no usual extension, and leaves pictures, sound and text
// alone.
#include <string>

namespace trevanto {

// The short name of the container FFmpeg recognises in the file's first
// bytes ("mpeg", "matroska,webm", ...), or "" when it recognises none or the
// file cannot be read. Never opens a device or a pipe: only regular files.
std::string ProbeContainer(const std::string& path);

// True when the container may carry video: not a still picture, a sound
// only format or a text one.
bool ContainerMayHoldVideo(const std::string& container);

}  // namespace trevanto
