// The picture decoders: GIF (every frame), JPEG and BMP from bytes in memory, and the choice of decoder
// by file extension (the image dialog) or by the bytes' signature (the preview).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/Bitmap.h"

namespace imaging {

// Each raises EInvalidGraphic with the reason when the bytes are not a picture of its kind, are cut short
// or exceed the limits.
Picture DecodeGif(std::span<const uint8_t> bytes, const DecodeLimits& limits = {});
Picture DecodeJpeg(std::span<const uint8_t> bytes, const DecodeLimits& limits = {});
Picture DecodeBmp(std::span<const uint8_t> bytes, const DecodeLimits& limits = {});

enum class PictureKind { Unknown, Gif, Jpeg, Bmp };

// ".gif" → Gif, ".jpg"/".jpeg"/".jpe"/".jfif" → Jpeg, ".bmp"/".dib"/".rle" → Bmp, in any letter case.
PictureKind KindByExtension(const std::string& path);
// "GIF8" → Gif, FF D8 → Jpeg, "BM" → Bmp.
PictureKind KindBySignature(std::span<const uint8_t> bytes);

Picture Decode(PictureKind kind, std::span<const uint8_t> bytes, const DecodeLimits& limits = {});

// Reads and decodes the file chosen by its extension. Raises EInvalidGraphic: "Unknown picture file
// extension (.EXT)" for other kinds, "Cannot open file PATH" when it cannot be read, and
// "The picture PATH cannot be shown: REASON" when it does not decode.
Picture LoadPictureFile(const std::string& path, const DecodeLimits& limits = {});

}  // namespace imaging
