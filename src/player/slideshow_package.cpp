#include "player/slideshow_package.h"

#include <QStringDecoder>
#include <cstdio>

#include "audio/wav_reader.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"

namespace tovak {

namespace {

// 0x80 to 0x9F in code page 1252; the five bytes it leaves undefined keep their Latin-1 value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

QString DecodeMessageText(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArray::fromStdString(bytes));
  if (!utf8.hasError()) return text;
  text.clear();
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += QChar(byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t(byte));
  }
  return text;
}

void SlideshowPackage::Open(const std::string& path) {
  path_ = path;
  reader_.Open(path);
}

QImage SlideshowPackage::Picture(int index) {
  try {
    const std::vector<uint8_t> jpeg = reader_.Image(index);
    if (jpeg.empty()) return {};
    return DecodeJpeg(jpeg.data(), jpeg.size());
  } catch (const Exception&) {
    return {};
  }
}

QString SlideshowPackage::Message(int index) {
  QStringList lines;
  for (const std::string& line : reader_.MessageLines(index)) lines << DecodeMessageText(line);
  return lines.join('\n');
}

QString SlideshowPackage::ShownMessage(int index) {
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

std::vector<uint8_t> SlideshowPackage::ExpandVoice(int index) {
  return ExpandVoiceRecord(reader_.VoiceContainer(index));
}

SlideSound SlideshowPackage::Sound(int index) {
  SlideSound sound;
  sound.messageLength = static_cast<size_t>(ShownMessage(index).size());
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

std::vector<SlideshowPackage::Link> SlideshowPackage::Links(int language) {
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
    links.push_back({DecodeMessageText(at(m, l, 0)), DecodeMessageText(at(m, l, 1))});
  }
  return links;
}

}  // namespace tovak
