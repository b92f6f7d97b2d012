#pragma once
// What each command object may ask of the document: only the calls it makes,
// so a command cannot reach the whole document. `CPlayerDoc` implements them
// privately and hands each command its host with the parts it works on.
#include <cstdint>
#include <string>

#include "app/commands/shot_edit_stack.h"
#include "app/document/document_ports.h"

namespace trevanto {

class ShotList;
class ShotTemplate;

class ShotsFileHost {
  public:
    virtual ~ShotsFileHost() = default;
    virtual const DocumentPorts& Ports() const = 0;
    virtual bool IsOpen() const = 0;
    virtual bool OpenVideo(const std::string& path) = 0;
    // Asks to stop the work that opening `path` would end; false when the
    // user would rather it went on.
    virtual bool MayOpen(const std::string& path) = 0;
    virtual bool FrameChainRunning() const = 0;
    virtual const ShotList& Shots() const = 0;
    virtual void SetShotsModified(bool modified) = 0;
    // The shots as they are now are kept to undo the edit that follows.
    virtual void RecordShotsEdit(const ShotEdit& edit) = 0;
    virtual bool ScaleToThumbnail() = 0;
    virtual bool CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex) = 0;
};

class JpegExportHost {
  public:
    virtual ~JpegExportHost() = default;
    virtual const DocumentPorts& Ports() const = 0;
    virtual bool IsOpen() const = 0;
    virtual bool FrameChainRunning() const = 0;
    virtual const ShotList& Shots() const = 0;
    // False when the video could not be sought to the shot's start.
    virtual bool GoToShot(int32_t item, bool play) = 0;
    virtual const ShotTemplate& GetShotTemplate() const = 0;
};

class PublishingHost {
  public:
    virtual ~PublishingHost() = default;
    virtual const DocumentPorts& Ports() const = 0;
    virtual bool IsOpen() const = 0;
    virtual bool FrameChainRunning() const = 0;
    virtual const ShotList& Shots() const = 0;
    virtual int32_t ShotCount() const = 0;
};

class ThumbnailRefreshHost {
  public:
    virtual ~ThumbnailRefreshHost() = default;
    virtual const DocumentPorts& Ports() const = 0;
    virtual bool IsOpen() const = 0;
    virtual bool SurfacesSetUp() const = 0;
    virtual const ShotList& Shots() const = 0;
    virtual bool GoToShot(int32_t item, bool play) = 0;
    virtual bool ScaleToThumbnail() = 0;
    virtual bool CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex) = 0;
};

}  // namespace trevanto
