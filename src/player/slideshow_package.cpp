#include "player/slideshow_package.h"

#include <QStringDecoder>

#include "audio/wav_reader.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"

namespace tovak {

QString DecodeMessageText(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArray::fromStdString(bytes));
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
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

std::vector<uint8_t> SlideshowPackage::ExpandVoice(int index) {
  return ExpandVoiceRecord(reader_.VoiceContainer(index));
}

SlideSound SlideshowPackage::Sound(int index) {
  SlideSound sound;
  sound.messageLength = static_cast<size_t>(Message(index).size());
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
