// Choosing a decoder by extension or signature, and loading a picture file.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/Decoders.h"

namespace imaging {

PictureKind KindByExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  if (ext == ".gif") return PictureKind::Gif;
  if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif") return PictureKind::Jpeg;
  if (ext == ".bmp" || ext == ".dib" || ext == ".rle") return PictureKind::Bmp;
  return PictureKind::Unknown;
}

PictureKind KindBySignature(std::span<const uint8_t> bytes) {
  auto startsWith = [&](std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
  };
  if (startsWith({'G', 'I', 'F', '8'})) return PictureKind::Gif;
  if (startsWith({0xFF, 0xD8})) return PictureKind::Jpeg;
  if (startsWith({'B', 'M'})) return PictureKind::Bmp;
  return PictureKind::Unknown;
}

Picture Decode(PictureKind kind, std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  switch (kind) {
    case PictureKind::Gif:
      return DecodeGif(bytes, limits);
    case PictureKind::Jpeg:
      return DecodeJpeg(bytes, limits);
    case PictureKind::Bmp:
      return DecodeBmp(bytes, limits);
    case PictureKind::Unknown:
      break;
  }
  throw EInvalidGraphic("not a picture this program can show");
}

Picture LoadPictureFile(const std::string& path, const DecodeLimits& limits) {
  const PictureKind kind = KindByExtension(path);
  if (kind == PictureKind::Unknown)
    throw EInvalidGraphic("Unknown picture file extension (" + std::filesystem::path(path).extension().string() + ")");
  std::ifstream file(path, std::ios::binary);
  std::error_code ec;
  if (!file || std::filesystem::is_directory(path, ec)) throw EInvalidGraphic("Cannot open file " + path);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  try {
    return Decode(kind, bytes, limits);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic("The picture " + path + " cannot be shown: " + e.what());
  }
}

}  // namespace imaging
