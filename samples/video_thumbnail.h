// The bytes of a sample template's video thumbnail ("thumb.mp4").
//
// The library only stores, extracts and hands on a video thumbnail, never decodes it, so the
// samples carry the smallest file that still reads as an MP4 file: an 'ftyp' box naming the ISO
// base media brands, and a 'free' box whose payload tells the samples apart.
//
// Thread safety: a pure function; use from any thread.

#ifndef ZORVCAPSULE_SAMPLES_VIDEO_THUMBNAIL_H_
#define ZORVCAPSULE_SAMPLES_VIDEO_THUMBNAIL_H_

#include <string>

namespace zorvsamples {

// `label` becomes the payload of the 'free' box.
std::string MakeVideoThumbnail(const std::string& label);

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_VIDEO_THUMBNAIL_H_
