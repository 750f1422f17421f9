// The picture decoders on small files made by the tests, and on cut-off and corrupt ones.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "imaging/Decoders.h"
#include "tests/PictureEncoders.h"

using namespace imaging;
using testpictures::GifFrameData;

namespace {

constexpr uint32_t kBlack = Opaque(0, 0, 0), kRed = Opaque(255, 0, 0), kGreen = Opaque(0, 255, 0),
                   kBlue = Opaque(0, 0, 255);

GifFrameData Flat(int left, int top, int w, int h, uint8_t index) {
  GifFrameData f;
  f.left = left, f.top = top, f.width = w, f.height = h;
  f.indexes.assign(size_t(w * h), index);
  return f;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EInvalidGraphic& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(GifDecoderTest, AnimationKeepsEveryFrameWithDelaysDisposalAndLoopCount) {
  GifFrameData first = Flat(0, 0, 4, 4, 1);
  first.delayCs = 25;
  first.disposal = 2;  // back to the background
  GifFrameData second = Flat(1, 1, 2, 2, 3);
  second.delayCs = 7;
  const Picture picture = DecodeGif(testpictures::MakeGif(4, 4, {first, second}, 3));
  ASSERT_EQ(picture.frames.size(), 2u);
  EXPECT_TRUE(picture.IsAnimated());
  EXPECT_EQ(picture.loopCount, 3);
  EXPECT_EQ(picture.frames[0].delayMs, 250);
  EXPECT_EQ(picture.frames[0].disposal, Disposal::Background);
  EXPECT_EQ(picture.frames[1].delayMs, 70);
  EXPECT_EQ(picture.frames[1].left, 1);
  EXPECT_EQ(picture.frames[1].image.width, 2);

  FrameCompositor compositor(picture);
  EXPECT_EQ(compositor.Show(0).At(0, 0), kRed);
  const Bitmap& second_ = compositor.Show(1);
  EXPECT_EQ(second_.At(0, 0), 0u) << "the first frame was disposed of to the transparent background";
  EXPECT_EQ(second_.At(1, 1), kBlue);
  EXPECT_EQ(compositor.Show(0).At(0, 0), kRed) << "stepping back starts over";
}

TEST(GifDecoderTest, TransparentPixelsLetEarlierFramesShowAndPreviousDisposalRestores) {
  GifFrameData base = Flat(0, 0, 2, 1, 2);
  GifFrameData overlay = Flat(0, 0, 2, 1, 1);
  overlay.indexes = {0, 1};
  overlay.transparentIndex = 0;
  overlay.disposal = 3;  // restore what was under it
  GifFrameData last = Flat(1, 0, 1, 1, 0);
  last.transparentIndex = 0;
  const Picture picture = DecodeGif(testpictures::MakeGif(2, 1, {base, overlay, last}));
  EXPECT_TRUE(picture.frames[1].transparent);
  EXPECT_EQ(picture.frames[1].image.At(0, 0), 0u);
  EXPECT_EQ(picture.loopCount, -1);
  FrameCompositor compositor(picture);
  EXPECT_EQ(compositor.Show(1).At(0, 0), kGreen);
  EXPECT_EQ(compositor.Show(1).At(1, 0), kRed);
  EXPECT_EQ(compositor.Show(2).At(1, 0), kGreen) << "the overlay's area came back before the last frame";
}

TEST(GifDecoderTest, InterlacedRowsLandInTheirPlaces) {
  GifFrameData f = Flat(0, 0, 1, 11, 0);
  for (int y = 0; y < 11; ++y) f.indexes[size_t(y)] = uint8_t(y % 4);
  f.interlaced = true;
  const Picture picture = DecodeGif(testpictures::MakeGif(1, 11, {f}));
  const uint32_t colours[] = {kBlack, kRed, kGreen, kBlue};
  for (int y = 0; y < 11; ++y) EXPECT_EQ(picture.frames[0].image.At(0, y), colours[y % 4]) << "row " << y;
}

TEST(GifDecoderTest, CutOffCorruptAndOversizedFilesAreErrors) {
  const std::vector<uint8_t> whole = testpictures::MakeGif(8, 8, {Flat(0, 0, 8, 8, 1), Flat(0, 0, 8, 8, 2)});
  // Without its trailer the file still holds two whole frames.
  std::vector<uint8_t> noTrailer(whole.begin(), whole.end() - 1);
  EXPECT_EQ(DecodeGif(noTrailer).frames.size(), 2u);
  for (size_t cut : {size_t(3), size_t(13), size_t(20), whole.size() / 2}) {
    std::vector<uint8_t> part(whole.begin(), whole.begin() + long(cut));
    EXPECT_THROW(DecodeGif(part), EInvalidGraphic) << "cut at " << cut;
  }
  EXPECT_THROW(DecodeGif({}), EInvalidGraphic);
  std::vector<uint8_t> garbage = whole;
  for (size_t i = 40; i < garbage.size(); ++i) garbage[i] = 0xFF;
  EXPECT_THROW(DecodeGif(garbage), EInvalidGraphic);
  EXPECT_NE(ErrorOf([&] { DecodeGif(whole, DecodeLimits{32}); }).find("too large"), std::string::npos);
}

TEST(JpegDecoderTest, DecodesColourAndRefusesCutOffOrForeignData) {
  const std::vector<uint8_t> jpeg = testpictures::MakeJpeg(16, 8, 200, 40, 10);
  const Picture picture = DecodeJpeg(jpeg);
  ASSERT_EQ(picture.frames.size(), 1u);
  EXPECT_EQ(picture.width, 16);
  EXPECT_EQ(picture.height, 8);
  const uint32_t pixel = picture.frames[0].image.At(5, 5);
  EXPECT_EQ(pixel >> 24, 0xFFu);
  EXPECT_NEAR(int(pixel >> 16 & 0xFF), 200, 4);
  EXPECT_NEAR(int(pixel >> 8 & 0xFF), 40, 4);
  EXPECT_NEAR(int(pixel & 0xFF), 10, 4);

  std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + long(jpeg.size() * 3 / 4));
  EXPECT_THROW(DecodeJpeg(cut), EInvalidGraphic);
  EXPECT_THROW(DecodeJpeg({}), EInvalidGraphic);
  const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(text); }).find("JPEG: "), std::string::npos);
  EXPECT_THROW(DecodeJpeg(jpeg, DecodeLimits{100}), EInvalidGraphic);
}

TEST(BmpDecoderTest, ReadsEveryDepthBottomUpAndTopDown) {
  // 24 bits, 2 x 2, rows padded to four bytes, stored bottom row first.
  const Picture rgb = DecodeBmp(testpictures::MakeBmp(2, 2, 24, {},
                                                      {0, 0, 255, 0, 255, 0, 0, 0,   // bottom: red, green
                                                       255, 0, 0, 0, 0, 0, 0, 0}));  // top: blue, black
  EXPECT_EQ(rgb.frames[0].image.At(0, 0), kBlue);
  EXPECT_EQ(rgb.frames[0].image.At(0, 1), kRed);
  EXPECT_EQ(rgb.frames[0].image.At(1, 1), kGreen);

  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};  // 0x00RRGGBB as stored
  const Picture eight = DecodeBmp(testpictures::MakeBmp(3, 1, 8, palette, {1, 2, 3, 0}));
  EXPECT_EQ(eight.frames[0].image.At(0, 0), kRed);
  EXPECT_EQ(eight.frames[0].image.At(2, 0), kBlue);
  const Picture four = DecodeBmp(testpictures::MakeBmp(3, 1, 4, palette, {0x12, 0x30, 0, 0}));
  EXPECT_EQ(four.frames[0].image.At(1, 0), kGreen);
  EXPECT_EQ(four.frames[0].image.At(2, 0), kBlue);
  const Picture one = DecodeBmp(testpictures::MakeBmp(9, 1, 1, {0x000000, 0xFFFFFF}, {0x80, 0x80, 0, 0}));
  EXPECT_EQ(one.frames[0].image.At(0, 0), Opaque(255, 255, 255));
  EXPECT_EQ(one.frames[0].image.At(1, 0), kBlack);
  EXPECT_EQ(one.frames[0].image.At(8, 0), Opaque(255, 255, 255));

  // 16 bits in the default 5-5-5 layout: pure red is 0x7C00.
  const Picture sixteen = DecodeBmp(testpictures::MakeBmp(1, 1, 16, {}, {0x00, 0x7C, 0, 0}));
  EXPECT_EQ(sixteen.frames[0].image.At(0, 0), kRed);

  // A negative height stores the top row first.
  std::vector<uint8_t> topDown = testpictures::MakeBmp(1, 2, 24, {}, {0, 0, 255, 0, 255, 0, 0, 0});
  topDown[22] = 0xFE, topDown[23] = topDown[24] = topDown[25] = 0xFF;  // height -2
  const Picture flipped = DecodeBmp(topDown);
  EXPECT_EQ(flipped.frames[0].image.At(0, 0), kRed);
  EXPECT_EQ(flipped.frames[0].image.At(0, 1), kBlue);
}

TEST(BmpDecoderTest, RunLengthDataAndBitFieldAlpha) {
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  // A run of three reds, end of line; a literal of green, blue and red (padded), end of bitmap.
  const Picture rle = DecodeBmp(testpictures::MakeBmp(3, 2, 8, palette, {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1}, 1));
  EXPECT_EQ(rle.frames[0].image.At(2, 1), kRed);
  EXPECT_EQ(rle.frames[0].image.At(0, 0), kGreen);
  EXPECT_EQ(rle.frames[0].image.At(1, 0), kBlue);
  EXPECT_EQ(rle.frames[0].image.At(2, 0), kRed);
  // A delta moves two pixels right; what it skips stays transparent.
  const Picture skip = DecodeBmp(testpictures::MakeBmp(3, 1, 8, palette, {0, 2, 2, 0, 1, 2, 0, 1}, 1));
  EXPECT_EQ(skip.frames[0].image.At(0, 0), 0u);
  EXPECT_EQ(skip.frames[0].image.At(2, 0), kGreen);

  // 32 bits with bit fields: the masks follow the info header; alpha comes from a V4 header only, so an
  // info header gives opaque pixels.
  std::vector<uint8_t> fields = testpictures::MakeBmp(1, 1, 32, {}, {0x11, 0x22, 0x33, 0x00}, 3);
  const uint8_t masks[] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
  fields.insert(fields.begin() + 54, std::begin(masks), std::end(masks));
  fields[10] += 12;
  EXPECT_EQ(DecodeBmp(fields).frames[0].image.At(0, 0), Opaque(0x33, 0x22, 0x11));
}

TEST(BmpDecoderTest, BrokenFilesAreErrors) {
  const std::vector<uint8_t> good = testpictures::MakeBmp(2, 2, 24, {}, std::vector<uint8_t>(16, 7));
  for (size_t cut : {size_t(0), size_t(2), size_t(20), size_t(40), good.size() - 1}) {
    std::vector<uint8_t> part(good.begin(), good.begin() + long(cut));
    EXPECT_THROW(DecodeBmp(part), EInvalidGraphic) << "cut at " << cut;
  }
  std::vector<uint8_t> depth = good;
  depth[28] = 7;
  EXPECT_NE(ErrorOf([&] { DecodeBmp(depth); }).find("7 bits"), std::string::npos);
  std::vector<uint8_t> huge = good;
  huge[21] = 0x7F, huge[25] = 0x7F;  // 2 billion by 2 billion
  EXPECT_NE(ErrorOf([&] { DecodeBmp(huge); }).find("too large"), std::string::npos);
  // A run-length stream that never ends its bitmap runs out of bytes.
  EXPECT_THROW(DecodeBmp(testpictures::MakeBmp(2, 2, 8, {0, 0}, {2, 1}, 1)), EInvalidGraphic);
}

TEST(PictureFileTest, ChoosesTheDecoderByExtensionAndNamesTheFileInErrors) {
  const auto dir = std::filesystem::temp_directory_path() / ("quillmark-pictures-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    return (dir / name).string();
  };
  const std::vector<uint8_t> gif = testpictures::MakeGif(2, 2, {Flat(0, 0, 2, 2, 2)});
  EXPECT_EQ(LoadPictureFile(write("a.GIF", gif)).frames[0].image.At(1, 1), kGreen);
  EXPECT_EQ(LoadPictureFile(write("b.jpeg", testpictures::MakeJpeg(2, 2, 0, 0, 0))).width, 2);
  EXPECT_EQ(ErrorOf([&] { LoadPictureFile(write("c.wmf", gif)); }), "Unknown picture file extension (.wmf)");
  const std::string wrong = write("d.jpg", gif);
  EXPECT_EQ(ErrorOf([&] { LoadPictureFile(wrong); }).rfind("The picture " + wrong + " cannot be shown: JPEG: ", 0), 0u);
  const std::string missing = (dir / "none.bmp").string();
  EXPECT_EQ(ErrorOf([&] { LoadPictureFile(missing); }), "Cannot open file " + missing);

  EXPECT_EQ(KindBySignature(gif), PictureKind::Gif);
  EXPECT_EQ(KindBySignature(std::vector<uint8_t>{0xFF, 0xD8, 0xFF}), PictureKind::Jpeg);
  EXPECT_EQ(KindBySignature(std::vector<uint8_t>{'B'}), PictureKind::Unknown);
  std::filesystem::remove_all(dir);
}
