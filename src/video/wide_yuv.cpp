#include "video/wide_yuv.h"

#include <algorithm>

namespace trevanto {

bool WideYuv::Prepare(const AVFrame& picture) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    if (!d || d->nb_components != 3 || !(d->flags & AV_PIX_FMT_FLAG_PLANAR) ||
        (d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_BE | AV_PIX_FMT_FLAG_PAL)))
        return false;
    const int depth = d->comp[0].depth;
    for (int i = 0; i < 3; ++i)
        if (d->comp[i].depth != depth || d->comp[i].step != 2 || d->comp[i].shift != 0 ||
            d->comp[i].plane != i)
            return false;
    if (depth <= 8 || depth > 16)
        return false;
    chromaShiftX_ = d->log2_chroma_w;
    chromaShiftY_ = d->log2_chroma_h;
    const float unit = static_cast<float>(1 << (depth - 8));
    if (picture.color_range == AVCOL_RANGE_JPEG) {
        const auto top = static_cast<float>((1 << depth) - 1);
        lumaOffset_ = 0.0f;
        lumaScale_ = 1.0f / top;
        chromaOffset_ = 128.0f * unit;
        chromaScale_ = 1.0f / top;
    } else {
        lumaOffset_ = 16.0f * unit;
        lumaScale_ = 1.0f / (219.0f * unit);
        chromaOffset_ = 128.0f * unit;
        chromaScale_ = 1.0f / (224.0f * unit);
    }
    // The luma weights of the picture's matrix; BT.2020 unless it says
    // otherwise.
    float kr = 0.2627f, kb = 0.0593f;
    if (picture.colorspace == AVCOL_SPC_BT709) {
        kr = 0.2126f;
        kb = 0.0722f;
    } else if (picture.colorspace == AVCOL_SPC_BT470BG ||
               picture.colorspace == AVCOL_SPC_SMPTE170M) {
        kr = 0.299f;
        kb = 0.114f;
    }
    const float kg = 1.0f - kr - kb;
    crToR_ = 2.0f * (1.0f - kr);
    cbToB_ = 2.0f * (1.0f - kb);
    cbToG_ = -cbToB_ * kb / kg;
    crToG_ = -crToR_ * kr / kg;
    return true;
}

void WideYuv::Row(const AVFrame& picture, int y, uint16_t* rgb) const {
    const auto* luma = reinterpret_cast<const uint16_t*>(
        picture.data[0] + static_cast<ptrdiff_t>(y) * picture.linesize[0]);
    const int chromaY = y >> chromaShiftY_;
    const auto* cb = reinterpret_cast<const uint16_t*>(
        picture.data[1] + static_cast<ptrdiff_t>(chromaY) * picture.linesize[1]);
    const auto* cr = reinterpret_cast<const uint16_t*>(
        picture.data[2] + static_cast<ptrdiff_t>(chromaY) * picture.linesize[2]);
    for (int x = 0; x < picture.width; ++x, rgb += 3) {
        const int cx = x >> chromaShiftX_;
        Pixel(luma[x], cb[cx], cr[cx], rgb);
    }
}

void WideYuv::Pixel(float luma, float cb, float cr, uint16_t* rgb) const {
    const auto sample = [](float value) {
        return static_cast<uint16_t>(std::clamp(value, 0.0f, 1.0f) * 65535.0f + 0.5f);
    };
    const float l = (luma - lumaOffset_) * lumaScale_;
    const float u = (cb - chromaOffset_) * chromaScale_;
    const float v = (cr - chromaOffset_) * chromaScale_;
    rgb[0] = sample(l + crToR_ * v);
    rgb[1] = sample(l + cbToG_ * u + crToG_ * v);
    rgb[2] = sample(l + cbToB_ * u);
}

float WideYuv::Mean(const AVFrame& picture, int plane, int x0, int x1, int y0, int y1) {
    uint64_t sum = 0;
    for (int y = y0; y < y1; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(
            picture.data[plane] + static_cast<ptrdiff_t>(y) * picture.linesize[plane]);
        for (int x = x0; x < x1; ++x)
            sum += row[x];
    }
    const auto count = static_cast<uint64_t>(std::max(1, (x1 - x0) * (y1 - y0)));
    return static_cast<float>(sum) / static_cast<float>(count);
}

void WideYuv::Shrink(const AVFrame& picture, int width, int height, std::vector<uint16_t>& rgb) {
    rgb.resize(static_cast<size_t>(width) * height * 3);
    const int chromaWidth = AV_CEIL_RSHIFT(picture.width, chromaShiftX_);
    const int chromaHeight = AV_CEIL_RSHIFT(picture.height, chromaShiftY_);
    // Each small pixel covers [x0, x1) x [y0, y1) of a plane; at least one
    // sample even where the picture is smaller than the thumbnail.
    const auto bounds = [](int size, int small, int index, int& first, int& last) {
        first = std::min(index * size / small, size - 1);
        last = std::max(first + 1, (index + 1) * size / small);
    };
    uint16_t* out = rgb.data();
    for (int y = 0; y < height; ++y) {
        int y0, y1, cy0, cy1;
        bounds(picture.height, height, y, y0, y1);
        bounds(chromaHeight, height, y, cy0, cy1);
        for (int x = 0; x < width; ++x, out += 3) {
            int x0, x1, cx0, cx1;
            bounds(picture.width, width, x, x0, x1);
            bounds(chromaWidth, width, x, cx0, cx1);
            Pixel(Mean(picture, 0, x0, x1, y0, y1), Mean(picture, 1, cx0, cx1, cy0, cy1),
                  Mean(picture, 2, cx0, cx1, cy0, cy1), out);
        }
    }
}

}  // namespace trevanto
