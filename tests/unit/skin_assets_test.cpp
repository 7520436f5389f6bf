// The skin's pictures and the program icon, read from the copies compiled into the program.
#include <gtest/gtest.h>

#if __has_include(<png.h>)
#include <png.h>
#define XIUHE_HAVE_PNG 1
#endif

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "ui/controls.h"

namespace xiuhe {
namespace {

struct Colour {
  int r, g, b;
  bool operator==(const Colour&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Colour& c) {
  return out << "RGB(" << c.r << "," << c.g << "," << c.b << ")";
}

Colour FromTable(std::uint32_t value) {
  return {static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value >> 16 & 0xFF)};
}

std::uint32_t BigEndian32(const unsigned char* at) {
  return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}
std::uint32_t Little16(const unsigned char* at) { return at[0] | at[1] << 8; }
std::uint32_t Little32(const unsigned char* at) { return Little16(at) | Little16(at + 2) << 16; }

// What the PNG header says, and the pixels decoded to RGBA.
struct Picture {
  int width = 0, height = 0, bitDepth = 0, colourType = 0;
  std::vector<unsigned char> rgba;

  Colour At(int x, int y) const {
    const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2]};
  }
  int AlphaAt(int x, int y) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3]; }
};

constexpr int kRgb = 2, kRgba = 6;  // PNG colour types

#ifdef XIUHE_HAVE_PNG
Picture Decode(const std::string& name) {
  Picture picture;
  ByteBlock bytes = AssetBytes(name);
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size < 33 || std::memcmp(bytes.data, kSignature, 8) != 0 || std::memcmp(bytes.data + 12, "IHDR", 4) != 0) {
    ADD_FAILURE() << name << " is not an embedded PNG";
    return picture;
  }
  picture.width = static_cast<int>(BigEndian32(bytes.data + 16));
  picture.height = static_cast<int>(BigEndian32(bytes.data + 20));
  picture.bitDepth = bytes.data[24];
  picture.colourType = bytes.data[25];

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data, bytes.size)) {
    ADD_FAILURE() << name << ": " << image.message;
    return picture;
  }
  image.format = PNG_FORMAT_RGBA;
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    ADD_FAILURE() << name << ": " << image.message;
    picture.rgba.clear();
  }
  return picture;
}
#define REQUIRE_PNG()
#else
Picture Decode(const std::string&) { return {}; }
#define REQUIRE_PNG() GTEST_SKIP() << "libpng is not available"
#endif

bool NearWhite(Colour c) { return c.r > 225 && c.g > 225 && c.b > 225; }
bool Bluish(Colour c) { return c.b >= c.g && c.g >= c.r && c.b - c.r > 60; }

struct PictureFormat {
  const char* name;
  int width, height;
  int colourType;
};

constexpr PictureFormat kFormats[] = {
    {"background.png", 430, 330, kRgba},  {"panel.png", 430, 150, kRgb},        {"colon.png", 28, 103, kRgba},
    {"up_arrow.png", 82, 18, kRgba},      {"up_arrow_lit.png", 82, 18, kRgba},  {"down_arrow.png", 82, 18, kRgba},
    {"down_arrow_lit.png", 82, 18, kRgba}, {"arm.png", 78, 26, kRgba},          {"arm_lit.png", 78, 26, kRgba},
    {"cancel.png", 70, 24, kRgba},        {"cancel_lit.png", 70, 24, kRgba},    {"close.png", 29, 29, kRgba},
    {"close_lit.png", 29, 29, kRgba},     {"minimise.png", 30, 29, kRgba},      {"minimise_lit.png", 30, 29, kRgba},
    {"menu.png", 30, 29, kRgba},          {"menu_lit.png", 30, 29, kRgba},
};

TEST(SkinPictures, HaveTheirSizesAndFormatsAndAreFullyOpaque) {
  REQUIRE_PNG();
  for (const PictureFormat& format : kFormats) {
    SCOPED_TRACE(format.name);
    Picture picture = Decode(format.name);
    EXPECT_EQ(picture.width, format.width);
    EXPECT_EQ(picture.height, format.height);
    EXPECT_EQ(picture.bitDepth, 8);
    EXPECT_EQ(picture.colourType, format.colourType);
    ASSERT_FALSE(picture.rgba.empty());
    int seeThrough = 0;
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) seeThrough += picture.AlphaAt(x, y) != 255;
    EXPECT_EQ(seeThrough, 0);
  }
}

TEST(SkinPictures, FitEveryControlThatShowsThem) {
  REQUIRE_PNG();
  Picture window = Decode(kWindowBackground);
  EXPECT_EQ(window.width, kWindowWidth);
  EXPECT_EQ(window.height, kWindowHeight);
  for (const ControlDef& control : kControls) {
    for (const char* name : {control.pictures.normal, control.pictures.hover, control.pictures.disabled}) {
      if (!name) continue;
      SCOPED_TRACE(std::string(control.name) + " " + name);
      Picture picture = Decode(name);
      EXPECT_EQ(picture.width, control.width);
      EXPECT_EQ(picture.height, control.height);
    }
  }
}

TEST(SkinPictures, CarryTheColoursTheirNeighboursAndStatesRelyOn) {
  REQUIRE_PNG();
  struct Pixel {
    const char* name;
    int x, y;
    Colour colour;
  };
  const Pixel pixels[] = {
      {"panel.png", 0, 0, {52, 52, 52}},         {"panel.png", 429, 149, {52, 52, 52}},
      {"colon.png", 0, 0, {52, 52, 52}},         {"colon.png", 27, 102, {52, 52, 52}},
      {"up_arrow.png", 0, 0, {38, 38, 38}},      {"up_arrow_lit.png", 81, 17, {58, 58, 58}},
      {"down_arrow.png", 81, 0, {38, 38, 38}},   {"down_arrow_lit.png", 0, 17, {58, 58, 58}},
      {"close.png", 0, 0, {0, 97, 155}},         {"close_lit.png", 28, 28, {212, 64, 39}},
      {"minimise.png", 0, 0, {0, 94, 152}},      {"minimise.png", 29, 28, {0, 114, 172}},
      {"minimise_lit.png", 0, 0, {38, 161, 210}}, {"menu.png", 29, 0, {0, 114, 172}},
      {"menu_lit.png", 0, 28, {38, 181, 230}},    {"background.png", 0, 159, {235, 242, 249}},
      {"background.png", 429, 329, {235, 242, 249}},
  };
  for (const Pixel& pixel : pixels) {
    SCOPED_TRACE(std::string(pixel.name) + " at " + std::to_string(pixel.x) + "," + std::to_string(pixel.y));
    Picture picture = Decode(pixel.name);
    ASSERT_FALSE(picture.rgba.empty());
    EXPECT_EQ(picture.At(pixel.x, pixel.y), pixel.colour);
  }

  // 选择框1 sits on the panel; with equal colours no rectangle shows around it.
  Picture panel = Decode("panel.png");
  EXPECT_EQ(FromTable(Def(Ctl::选择框1).background), panel.At(0, 0));
  for (int y = 0; y < panel.height; ++y)
    for (int x = 0; x < panel.width; ++x) ASSERT_EQ(panel.At(x, y), panel.At(0, 0)) << x << "," << y;
}

TEST(SkinPictures, DrawTheirMotifsInLightOverTheFace) {
  REQUIRE_PNG();
  struct Motif {
    const char* name;
    int x, y;  // a point on the motif
  };
  const Motif motifs[] = {
      {"close.png", 14, 14},   {"close_lit.png", 14, 14},     {"minimise.png", 15, 14},
      {"minimise_lit.png", 15, 14}, {"menu.png", 15, 13},     {"menu_lit.png", 15, 13},
      {"up_arrow_lit.png", 41, 9}, {"down_arrow_lit.png", 41, 9}, {"colon.png", 14, 39},
      {"colon.png", 14, 63},
  };
  for (const Motif& motif : motifs) {
    SCOPED_TRACE(std::string(motif.name) + " at " + std::to_string(motif.x) + "," + std::to_string(motif.y));
    Colour c = Decode(motif.name).At(motif.x, motif.y);
    EXPECT_GT(c.r + c.g + c.b, 3 * 200) << c;
  }
  EXPECT_EQ(Decode("colon.png").At(14, 51), (Colour{52, 52, 52})) << "the two dots stand apart";

  // Rounded faces: the corner shows the panel, the face the named grey, lighter when lit, and white text.
  struct Face {
    const char* normal;
    const char* lit;
  };
  for (const Face& face : {Face{"arm.png", "arm_lit.png"}, Face{"cancel.png", "cancel_lit.png"}}) {
    SCOPED_TRACE(face.normal);
    Picture normal = Decode(face.normal), lit = Decode(face.lit);
    EXPECT_EQ(normal.At(0, 0), (Colour{52, 52, 52}));
    Colour plain = normal.At(4, normal.height / 2), bright = lit.At(4, lit.height / 2);
    EXPECT_NEAR(plain.g, 75, 8) << plain;
    EXPECT_NEAR(bright.g, 95, 8) << bright;
    int white = 0;
    for (int x = 0; x < normal.width; ++x) white += NearWhite(normal.At(x, normal.height / 2));
    EXPECT_GE(white, 4) << "the caption crosses the middle row";
  }
}

TEST(SkinPictures, BackgroundIsABlueBannerWithCaptionOverThePage) {
  REQUIRE_PNG();
  Picture background = Decode("background.png");
  ASSERT_EQ(background.height, 330);
  int white = 0, blue = 0;
  for (int y = 0; y < 159; ++y)
    for (int x = 0; x < background.width; ++x) {
      Colour c = background.At(x, y);
      white += NearWhite(c);
      blue += Bluish(c);
    }
  EXPECT_GT(blue, 159 * 430 * 8 / 10) << "the banner is mostly blue";
  EXPECT_GT(white, 1500) << "large white caption characters";
  for (Colour c : {background.At(2, 2), background.At(200, 150)}) EXPECT_TRUE(Bluish(c)) << c;
  EXPECT_GT(background.At(2, 2).b, 190) << "light blue at the top left";
  for (int y = 159; y < 330; ++y)
    for (int x = 0; x < background.width; ++x)
      ASSERT_EQ(background.At(x, y), (Colour{235, 242, 249})) << x << "," << y;

  // Under each chrome button lies its normal face, so hiding the menu button reveals its triangle.
  for (Ctl id : {Ctl::图形按钮_菜单, Ctl::图形按钮_最小化, Ctl::图形按钮_关闭}) {
    const ControlDef& button = Def(id);
    SCOPED_TRACE(button.name);
    Picture face = Decode(button.pictures.normal);
    for (int y = 0; y < face.height; ++y)
      for (int x = 0; x < face.width; ++x)
        ASSERT_EQ(background.At(button.x + x, button.y + y), face.At(x, y)) << x << "," << y;
  }
}

TEST(ProgramIcon, IsOneUncompressed32BitImageOf128Pixels) {
  ByteBlock ico = AssetBytes("program.ico");
  ASSERT_EQ(ico.size, 67646u);
  const unsigned char* d = ico.data;
  EXPECT_EQ(Little16(d), 0u);
  EXPECT_EQ(Little16(d + 2), 1u) << "icon type";
  EXPECT_EQ(Little16(d + 4), 1u) << "one directory entry";
  const unsigned char* entry = d + 6;
  EXPECT_EQ(entry[0], 128);
  EXPECT_EQ(entry[1], 128);
  EXPECT_EQ(Little16(entry + 4), 1u) << "planes";
  EXPECT_EQ(Little16(entry + 6), 32u) << "bits per pixel";
  EXPECT_EQ(Little32(entry + 8), 67646u - 22u) << "image length";
  ASSERT_EQ(Little32(entry + 12), 22u) << "image offset";

  const unsigned char* header = d + 22;
  EXPECT_EQ(Little32(header), 40u) << "BITMAPINFOHEADER";
  EXPECT_EQ(Little32(header + 4), 128u);
  EXPECT_EQ(Little32(header + 8), 256u) << "colour rows and mask rows";
  EXPECT_EQ(Little16(header + 12), 1u);
  EXPECT_EQ(Little16(header + 14), 32u);
  EXPECT_EQ(Little32(header + 16), 0u) << "BI_RGB";
}

TEST(ProgramIcon, HasSoftEdgesAMatchingMaskAndABlueAndWhiteEmblem) {
  ByteBlock ico = AssetBytes("program.ico");
  ASSERT_EQ(ico.size, 67646u);
  const unsigned char* pixels = ico.data + 22 + 40;  // BGRA, bottom-up
  const unsigned char* mask = pixels + 128 * 128 * 4;
  int clear = 0, partial = 0, blue = 0, white = 0, maskMismatches = 0;
  for (int row = 0; row < 128; ++row)
    for (int x = 0; x < 128; ++x) {
      const unsigned char* p = pixels + (row * 128 + x) * 4;
      int alpha = p[3];
      clear += alpha == 0;
      partial += alpha > 0 && alpha < 255;
      if (alpha == 255) {
        Colour c{p[2], p[1], p[0]};
        blue += Bluish(c);
        white += NearWhite(c);
      }
      bool masked = mask[row * 16 + x / 8] & (0x80 >> (x % 8));
      maskMismatches += masked != (alpha == 0);
    }
  EXPECT_GT(clear, 0) << "transparent corners";
  EXPECT_GT(partial, 200) << "soft edges";
  EXPECT_GT(blue, 4000);
  EXPECT_GT(white, 500);
  EXPECT_EQ(maskMismatches, 0) << "the AND mask marks exactly the transparent pixels";
}

}  // namespace
}  // namespace xiuhe
