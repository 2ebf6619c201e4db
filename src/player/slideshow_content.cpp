#include "player/slideshow_content.h"

#include <cstdlib>

#include "audio/wav_reader.h"
#include "builder/package_reader.h"

namespace tovak {

namespace {

// 0x80 to 0x9F in code page 1252; the five bytes it leaves undefined keep their Latin-1 value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF. False on any fault.
bool DecodeUtf8(const std::string& bytes, std::u16string& text) {
  size_t i = 0;
  // A leading byte-order mark is not part of the message.
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int more = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      more = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      more = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      more = 3, code = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (i + more >= bytes.size() && more > 0) return false;
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return false;
    if (code >= 0x10000) {
      code -= 0x10000;
      text += static_cast<char16_t>(0xD800 + (code >> 10));
      text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      text += static_cast<char16_t>(code);
    }
    i += 1 + more;
  }
  return true;
}

}  // namespace

std::u16string DecodeMessageBytes(const std::string& bytes) {
  std::u16string text;
  if (DecodeUtf8(bytes, text)) return text;
  text.clear();
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t(byte);
  }
  return text;
}

std::string ToUtf8(const std::u16string& text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;  // a lone half of a pair
    }
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (code >> 18));
      bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

void SlideshowContent::Open(const std::string& path) {
  path_ = path;
  unreadableMessages_.clear();
  reader_.Open(path);
}

std::vector<uint8_t> SlideshowContent::ExpandVoice(int index) {
  return ExpandVoiceRecord(reader_.VoiceContainer(index));
}

std::u16string SlideshowContent::Message(int index) {
  std::u16string text;
  bool first = true;
  for (const std::string& line : reader_.MessageLines(index)) {
    if (!first) text += u'\n';
    text += DecodeMessageBytes(line);
    first = false;
  }
  return text;
}

std::u16string SlideshowContent::ShownMessage(int index) {
  try {
    return Message(index);
  } catch (const Exception& e) {
    if (unreadableMessages_.insert(index).second) {
      std::fprintf(stderr, "tovak-player: picture %d: its message cannot be read (%s)\n", index + 1,
                   e.what());
    }
    return {};
  }
}

SlideSound SlideshowContent::Sound(int index) {
  SlideSound sound;
  sound.messageLength = ShownMessage(index).size();
  try {
    const std::vector<uint8_t> wav = ExpandVoice(index);
    if (wav.empty()) return sound;
    const WavInfo info = ReadWavInfo(wav);
    sound.samples.assign(
        wav.begin() + static_cast<std::ptrdiff_t>(info.dataOffset),
        wav.begin() + static_cast<std::ptrdiff_t>(info.dataOffset + info.dataSize));
    sound.format = info.format;
    sound.hasVoice = !sound.samples.empty();
  } catch (const Exception&) {
    // A voice that cannot be expanded is skipped; the picture is still shown.
  }
  return sound;
}

std::vector<SlideshowContent::Link> SlideshowContent::Links(int language) {
  std::vector<Link> links;
  std::vector<std::string> list;
  try {
    list = reader_.LinkMenu();
  } catch (const Exception&) {
    return links;
  }
  if (list.size() < 2) return links;
  const int languages = std::atoi(list[0].c_str());
  const int count = std::atoi(list[1].c_str());
  if (languages <= 0 || count <= 0) return links;
  if (language < 1 || language > languages) language = 1;
  auto at = [&](int m, int l, int field) -> std::string {
    const size_t position = 2 + 2 * size_t(languages) * (m - 1) + 2 * size_t(l - 1) + field;
    return position < list.size() ? list[position] : std::string();
  };
  for (int m = 1; m <= count && 2 + 2 * size_t(languages) * (m - 1) < list.size(); ++m) {
    int l = language;
    if (at(m, l, 0).empty()) l = 1;
    if (at(m, l, 0).empty()) continue;
    links.push_back({DecodeMessageBytes(at(m, l, 0)), DecodeMessageBytes(at(m, l, 1))});
  }
  return links;
}

namespace {

// One picture's line of the listing; throws Exception with what is wrong with it.
std::string DescribePicture(SlideshowContent& content, const PictureSizer& sizer, int picture) {
  std::string size = "no picture";
  if (content.HasPicture(picture)) {
    int width = 0;
    int height = 0;
    if (!sizer(content.StoredPicture(picture), width, height)) {
      throw Exception("the picture cannot be decoded");
    }
    size = std::to_string(width) + "x" + std::to_string(height);
  }
  std::string voice = "no voice";
  const std::vector<uint8_t> wav = content.ExpandVoice(picture);
  if (!wav.empty()) {
    char text[64];
    std::snprintf(text, sizeof text, "voice %.1f s", ReadWavInfo(wav).Seconds());
    voice = text;
  }
  std::u16string message;
  try {
    message = content.Message(picture);
  } catch (const Exception& e) {
    throw Exception(std::string("the message cannot be read (") + e.what() + ")");
  }
  const std::u16string first = message.substr(0, message.find(u'\n'));
  char line[64];
  std::snprintf(line, sizeof line, "%4d  ", picture + 1);
  return line + size + "  " + voice + "  " +
         (message.empty() ? "no message" : "\"" + PrintableText(ToUtf8(first)) + "\"");
}

}  // namespace

std::string TerminalForm(std::string message) {
  for (size_t at = message.find(" : "); at != std::string::npos; at = message.find(" : ", at))
    message.erase(at, 1);
  return message;
}

int ListPackage(const std::string& path, const PictureSizer& sizer, std::FILE* out,
                std::FILE* err) {
  SlideshowContent content;
  try {
    content.Open(path);
  } catch (const Exception& e) {
    std::fprintf(err, "tovak-player: %s\n", TerminalForm(e.what()).c_str());
    return 1;
  }
  std::fprintf(out, "%s: %d picture%s\n", path.c_str(), content.Count(),
               content.Count() == 1 ? "" : "s");
  // Every damaged picture is named, not only the first: whoever mends the show needs them all.
  int damaged = 0;
  for (int picture = 0; picture < content.Count(); ++picture) {
    try {
      std::fprintf(out, "%s\n", DescribePicture(content, sizer, picture).c_str());
    } catch (const Exception& e) {
      std::fprintf(err, "tovak-player: picture %d: %s\n", picture + 1,
                   TerminalForm(e.what()).c_str());
      ++damaged;
    }
  }
  return damaged > 0 ? 1 : 0;
}

}  // namespace tovak
