// The two icons, drawn as 32x32 pixel art in the 16 standard VGA colours.
#include <stdexcept>

#include "art.h"

namespace mkart {
namespace {

// The Windows 16-colour palette, in its usual order.
constexpr Rgb8 kVga[16] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
};

// One letter per palette entry ("." is transparent): lower case for the dark
// half, upper case for the bright half; l and d are light and dark grey.
constexpr char kLetters[] = "krgybmcldRGYBMCw";

Icon16 FromArt(const char* const (&rows)[Icon16::kSize]) {
  Icon16 icon;
  for (int i = 0; i < 16; ++i) icon.palette[i] = kVga[i];
  for (int y = 0; y < Icon16::kSize; ++y) {
    for (int x = 0; x < Icon16::kSize; ++x) {
      const char c = rows[y][x];
      if (c == '\0') throw std::logic_error("icon row shorter than 32");
      const size_t i = static_cast<size_t>(y) * Icon16::kSize + x;
      if (c == '.') {
        icon.transparent[i] = true;
        continue;
      }
      int entry = 0;
      while (entry < 16 && kLetters[entry] != c) ++entry;
      if (entry == 16) throw std::logic_error("unknown colour letter in icon art");
      icon.index[i] = static_cast<uint8_t>(entry);
    }
    if (rows[y][Icon16::kSize] != '\0') throw std::logic_error("icon row longer than 32");
  }
  return icon;
}

// An opened carton, flaps folded out, with a program window rising from it.
constexpr const char* kSetupFile[Icon16::kSize] = {
    "................................",
    ".......kkkkkkkkkkkkkkkkkkk......",
    ".......kbbbbbbbbbbbbbbkwkk......",
    ".......kbbbbbbbbbbbbbbkkkk......",
    ".......kkkkkkkkkkkkkkkkkkk......",
    ".......kwwwwwwwwwwwwwwwwlk......",
    ".......kwddddddwwwwwwwwwlk......",
    ".......kwwwwwwwwwwwwwwwwlk......",
    ".......kwddddddddddwwwwwlk......",
    ".......kwwwwwwwwwwwwwwwwlk......",
    ".......kwdddddddwwwwwwwwlk......",
    ".......kwwwwwwwwwwwwwwwwlk......",
    "kkk....kwddddddddddddwwwlk...kkk",
    "kYYkk..kwwwwwwwwwwwwwwwwlk.kkYYk",
    "kYYYYkkkwdddddwwwwwwwwwwlkkYYYYk",
    ".kYYYYYkwwwwwwwwwwwwwwwwlkYYYYk.",
    ".kyYYYYkwwwwwwwwwwwwwwwwlkYYYyk.",
    "..kyyYYkwwwwwwwwwwwwwwwwlkYyyk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYkkkkkkkkkYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kYYYYYYYYYYYYYYYYYYYYYYyyk...",
    "...kyyyyyyyyyyyyyyyyyyyyyyyyk...",
    "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
    "................................",
    "................................",
};

// A computer (monitor and desktop case) with a carton beside it.
constexpr const char* kProduct[Icon16::kSize] = {
    "................................",
    "................................",
    ".kkkkkkkkkkkkkkkkkk.............",
    ".kllllllllllllllllkd............",
    ".klkkkkkkkkkkkkkklkd............",
    ".klkbbbbbbbbbbbbklkd............",
    ".klkbCbbbbbbbbbbklkd............",
    ".klkbbCbbbbbbbbbklkd............",
    ".klkbbbbbbbbbbbbklkd............",
    ".klkbbbbbbbbbbbbklkd............",
    ".klkbbbbbbbbbbbbklkd............",
    ".klkbbbbbbbbbbbbklkd............",
    ".klkkkkkkkkkkkkkklkd............",
    ".kllllllllllllGlllkd............",
    ".kkkkkkkkkkkkkkkkkkdkkkkkkkkkk..",
    ".....kllllllllk....kYYYYYYYYkk..",
    ".....kkkkkkkkkk...kYYYYYYYYkyk..",
    "kkkkkkkkkkkkkkkkkkYYYYYYYYkyyk..",
    "klllllllllllllllkkkkkkkkkkyyyk..",
    "klldddddddllllllkYYYYYYYYkyyyk..",
    "klllllllllllllllkYYYYYYYYkyyyk..",
    "kllllllllllllGllkYYkkkkYYkyyyk..",
    "kkkkkkkkkkkkkkkkkYYYYYYYYkyyyk..",
    ".dddddddddddddddkYYYYYYYYkyyyk..",
    "................kYYYYYYYYkyyyk..",
    "................kYYYYYYYYkyyyk..",
    "................kYYYYYYYYkyyk...",
    "................kYYYYYYYYkyk....",
    "................kyyyyyyyykk.....",
    "................kkkkkkkkkk......",
    "................................",
    "................................",
};

}  // namespace

Icon16 SetupFileIcon() { return FromArt(kSetupFile); }

Icon16 ProductIcon() { return FromArt(kProduct); }

}  // namespace mkart
