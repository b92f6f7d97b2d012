#pragma once
// How a run that wants thumbnails alone decodes its pictures.
namespace trevanto {

// The reduced resolution (VideoDecoder::SetReducedResolution) for pictures
// of `width` x `height` (upright) wanted only as thumbnails: half size while
// the chroma planes of half-size 4:2:0 pictures, a quarter of the size,
// still cover the thumbnail; whole otherwise. Decoding costs less, and the
// cuts stay the same.
constexpr int ThumbnailReduction(int width, int height, int thumbnailWidth, int thumbnailHeight) {
    return width / 4 >= thumbnailWidth && height / 4 >= thumbnailHeight ? 1 : 0;
}

}  // namespace trevanto
