#include "builder/plimo.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "builder/link_menu.h"
#include "builder/package_format.h"
#include "builder/picture_preparation.h"
#include "builder/pumped_step.h"
#include "builder/record_bounds.h"
#include "builder/record_pool.h"
#include "builder/voice_record.h"
#include "common/file_stream.h"
#include "common/files.h"
#include "common/memory_stream.h"
#include "common/text_lines.h"
#include "components/jpeg_picture.h"
#include "components/picture_error.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

class ECanceled : public EPlimoError {
 public:
  ECanceled() : EPlimoError("Operation canceled by user.") {}
};

std::vector<uint8_t> ToBytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// A record per picture keeps a worker busy; a few more finished ones let the writer never wait
// on a single slow picture while the memory held stays small.
constexpr int32_t kRecordsAheadPerWorker = 2;

std::vector<uint8_t> MessageBytes(const std::string& messagePath) {
  std::vector<std::string> lines;
  if (!messagePath.empty() && FileExists(messagePath)) ReadTextLines(messagePath, lines);
  return ToBytes(JoinLinesCrLf(lines));
}

}  // namespace

TPlimo::TPlimo(const Paths& paths) : OutputFile(paths.OutputFile()), paths_(paths) {}

TPlimo::~TPlimo() = default;

void TPlimo::Reset() {
  MaxWidth = MaxHeight = Quality = 0;
  IndexEntries.clear();
  pictures_.clear();
  CurrentIndex = 0;
}

void TPlimo::SetPictures(const std::vector<std::string>& pictures) {
  pictures_ = pictures;
}
void TPlimo::SetMessages(const std::vector<std::string>& messages) {
  messages_ = messages;
}
void TPlimo::SetVoices(const std::vector<std::string>& voices) {
  voices_ = voices;
}

void TPlimo::SetOptions(int32_t maxWidth, int32_t maxHeight, int32_t quality) {
  MaxWidth = maxWidth;
  MaxHeight = maxHeight;
  Quality = quality;
}

int32_t TPlimo::CoreCount() {
  return static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
}

int32_t TPlimo::JobsFrom(const char* text, int32_t fallback) {
  if (!text || !*text) return fallback;
  int32_t jobs = 0;
  const char* end = text + std::strlen(text);
  const auto [rest, error] = std::from_chars(text, end, jobs);
  return error == std::errc() && rest == end && jobs >= 1 ? jobs : fallback;
}

void TPlimo::Checkpoint() {
  if (ProcessMessages) ProcessMessages();
  if (CancelRequested) throw ECanceled();
}

bool TPlimo::Build() {
  std::error_code ignored;
  fs::create_directories(WorkFolder(), ignored);
  LastError.clear();
  UnreadablePictures.clear();
  LongVoices.clear();
  // The package is written in place: a folder, a device or a FIFO under its name would be
  // written into or left half replaced, and none of them is ours to remove.
  if (const std::string problem = OutputTargetProblem(OutputFile); !problem.empty()) {
    LastError = "The slideshow cannot be written to " + OutputFile + ": " + problem + ".";
    return false;
  }
  // What every player would refuse as damaged is refused before the earlier slideshow is gone.
  const size_t count = pictures_.size();
  const std::vector<std::string> messages(
      messages_.begin(), messages_.begin() + std::ptrdiff_t(std::min(count, messages_.size())));
  const std::vector<std::string> voices(
      voices_.begin(), voices_.begin() + std::ptrdiff_t(std::min(count, voices_.size())));
  if (std::string problem = RecordBoundsProblem(messages, voices); !problem.empty()) {
    LastError = problem;
    return false;
  }
  DeleteFileIfExists(OutputFile);

  Busy = true;
  CancelRequested = false;
  IndexEntries.clear();
  bool result = true;
  try {
    BuildSteps();
  } catch (const Exception& e) {
    result = false;
    LastError = e.Message();
  } catch (const std::exception& e) {
    result = false;
    LastError = e.what();
  }
  file_.reset();
  if (!result) DeleteFileIfExists(OutputFile);
  Busy = false;
  return result;
}

void TPlimo::BuildSteps() {
  // A voice no player could play is converted as it is packed; one that cannot be is refused
  // before anything is written, naming its file.
  const std::vector<std::string> pictureVoices(
      voices_.begin(),
      voices_.begin() + static_cast<std::ptrdiff_t>(std::min(voices_.size(), pictures_.size())));
  const VoiceCheck voices = CheckVoices(pictureVoices);
  if (!voices.refusedFile.empty()) throw EPlimoError(voices.refusedFile + " : " + voices.refusal);
  LongVoices = voices.longFiles;
  CopyEngine();
  file_ = std::make_unique<TFileStream>();
  if (!file_->Open(OutputFile, TFileStream::Mode::ReadWrite)) {
    throw EPlimoError("Unable to create file handle.");
  }
  if (pictures_.empty()) throw EPlimoError("No files found to process.");

  PicturePreparation preparation;
  preparation.MaxWidth = MaxWidth;
  preparation.MaxHeight = MaxHeight;
  preparation.Quality = Quality;
  preparation.KeepFittingJpegs = KeepFittingJpegs;
  keepFitting_.assign(pictures_.size(), KeepFittingJpegs);
  if (!KeepFittingJpegs && KeepsFittingJpeg)
    for (size_t i = 0; i < pictures_.size(); ++i) keepFitting_[i] = KeepsFittingJpeg(pictures_[i]);
  if (Jobs > 1 && PictureCount() > 1) {
    BuildRecordsOnPool(preparation);
  } else {
    JpegPicture picture;
    JpegPicture nothing;  // what an unreadable picture stores
    const int32_t count = PictureCount();
    for (int32_t i = 0; i < count; ++i) {
      CurrentFile = pictures_[i];
      if (OnProgress) OnProgress(i + 1, count);
      Checkpoint();
      CurrentIndex = i;
      const bool readable = PreparePicture(PreparationOf(preparation, i), picture);
      if (!readable) UnreadablePictures.push_back(CurrentFile);
      if (static_cast<size_t>(i) >= messages_.size()) {
        throw EPlimoError("List index out of bounds (" + std::to_string(i) + ")");
      }
      const std::string voice = static_cast<size_t>(i) < voices_.size() ? voices_[i] : "";
      WritePicture(readable ? picture : nothing, voice, messages_[i]);
    }
  }
  Checkpoint();
  WriteIndex();
  Checkpoint();
  WriteTrailer();
  Checkpoint();
}

void TPlimo::BuildRecordsOnPool(const PicturePreparation& preparation) {
  const int32_t count = PictureCount();
  const int32_t workers = std::min(Jobs, count);
  RecordPool pool(count, workers, workers * kRecordsAheadPerWorker,
                  [&](int32_t index, const std::function<bool()>& stopped) {
                    return PrepareRecord(preparation, index, stopped);
                  });
  const auto waiting = [this] { Checkpoint(); };
  // The writer keeps the one-thread build's steps: progress, checkpoint, then the three records.
  for (int32_t i = 0; i < count; ++i) {
    CurrentFile = pictures_[i];
    if (OnProgress) OnProgress(i + 1, count);
    Checkpoint();
    CurrentIndex = i;
    PreparedRecord record = pool.Take(i, waiting);
    if (!record.readable) UnreadablePictures.push_back(CurrentFile);
    AppendRecord(record.picture);
    if (record.voiceError) std::rethrow_exception(record.voiceError);
    AppendRecord(record.voice);
    if (record.messageError) std::rethrow_exception(record.messageError);
    AppendRecord(record.message);
  }
}

PicturePreparation TPlimo::PreparationOf(const PicturePreparation& preparation,
                                         int32_t index) const {
  PicturePreparation one = preparation;
  one.KeepFittingJpegs = keepFitting_[static_cast<size_t>(index)];
  return one;
}

PreparedRecord TPlimo::PrepareRecord(const PicturePreparation& preparation, int32_t index,
                                     const std::function<bool()>& stopped) const {
  const auto checkpoint = [&stopped] {
    if (stopped()) throw ECanceled();
  };
  const std::string& path = pictures_[static_cast<size_t>(index)];
  PreparedRecord record;
  JpegPicture picture;
  try {
    if (PicturePreparation::NeedsConversion(path)) {
      PicturePreparation::LoadConverted(path, picture, [&stopped] { return !stopped(); });
    } else {
      picture.LoadFromFile(path);
    }
  } catch (const std::exception&) {
    record.readable = false;
  }
  checkpoint();
  JpegPicture nothing;
  try {
    PreparationOf(preparation, index).Finish(record.readable ? picture : nothing, checkpoint);
  } catch (const EPictureError&) {
    record.readable = false;
  } catch (const ECanceled&) {
    throw;
  } catch (const Exception& e) {
    throw EPlimoError(fs::path(path).filename().string() + " : " + e.Message());
  }
  if (static_cast<size_t>(index) >= messages_.size()) {
    throw EPlimoError("List index out of bounds (" + std::to_string(index) + ")");
  }
  if (record.readable && !picture.Empty()) record.picture = picture.Bytes();
  const size_t i = static_cast<size_t>(index);
  const auto later = [](const std::function<void()>& step, std::exception_ptr& error) {
    try {
      step();
    } catch (const ECanceled&) {
      throw;
    } catch (...) {
      error = std::current_exception();
    }
  };
  later([&] { record.voice = PackVoice(i < voices_.size() ? voices_[i] : "", checkpoint); },
        record.voiceError);
  if (!record.voiceError)
    later([&] { record.message = MessageBytes(messages_[i]); }, record.messageError);
  return record;
}

bool TPlimo::PreparePicture(const PicturePreparation& preparation, JpegPicture& picture) {
  // Decoding, shrinking and encoding a camera photo take far longer than a window may freeze:
  // such steps run beside this thread, which keeps processing events meanwhile. Cancel is still
  // acted on at the checkpoints between steps. Small pictures are done within a pump interval;
  // doing them here keeps the checkpoints of a build the same from run to run.
  std::atomic<bool> abandon = false;
  const std::function<void()> pump = [this, &abandon] {
    ProcessMessages();
    abandon = CancelRequested;
  };
  const auto beside = [&](const std::function<void()>& step) {
    RunWhilePumping(step, ProcessMessages ? pump : nullptr);
  };
  const StepRunner large = [&](const std::function<void()>& step) {
    const int64_t pixels = int64_t{picture.Width()} * picture.Height();
    pixels >= kLargePicturePixels ? beside(step) : step();
  };

  const std::string path = CurrentFile;
  bool readable = true;
  try {
    if (PicturePreparation::NeedsConversion(path)) {
      // A vector drawing may take seconds in its child process: Cancel abandons it.
      const KeepWaiting keepWaiting = [&abandon] { return !abandon; };
      beside([&] { PicturePreparation::LoadConverted(path, picture, keepWaiting); });
    } else {
      // The file's bytes and header only.
      picture.LoadFromFile(path);
    }
  } catch (const std::exception&) {
    // A picture that cannot be read does not end the build. It must not show the previous
    // picture again either: it is stored empty and reported.
    readable = false;
  }
  Checkpoint();
  JpegPicture nothing;
  const auto checkpoint = [this] { Checkpoint(); };
  try {
    // An unreadable picture skips both steps but keeps their checkpoints.
    preparation.Finish(readable ? picture : nothing, checkpoint, large);
  } catch (const EPictureError&) {
    // Its header read but its data does not decode: as unreadable as a picture can be.
    readable = false;
    Checkpoint();
  } catch (const ECanceled&) {
    throw;
  } catch (const Exception& e) {
    throw EPlimoError(fs::path(path).filename().string() + " : " + e.Message());
  }
  // Pixels still waiting would be encoded as the record is written; a large picture's are now.
  if (readable && picture.HoldsPixels()) large([&] { picture.Compress(); });
  return readable;
}

void TPlimo::CopyEngine() {
  const std::string engine = EngineFile.empty() ? paths_.EngineFile() : EngineFile;
  TMemoryStream image;
  if (!image.LoadFromFile(engine)) {
    throw EPlimoError("The player engine cannot be read: " + engine);
  }
  // A package that cannot be created here is reported when it is opened.
  TFileStream out;
  if (!out.Open(OutputFile, TFileStream::Mode::Create)) return;
  const int64_t size = image.Size();
  if ((size > 0 && !out.WriteAll(image.Bytes().data(), size)) || !out.Close()) {
    DeleteFileIfExists(OutputFile);
    throw EPlimoError("The slideshow could not be written (is the disk full?): " + OutputFile);
  }
  // The package runs as the engine does.
  std::error_code ignored;
  fs::permissions(OutputFile, fs::status(engine, ignored).permissions(), fs::perm_options::replace,
                  ignored);
}

void TPlimo::WriteAtEnd(const uint8_t* bytes, size_t count) {
  const int64_t end = file_->Seek(0, TStream::soFromEnd);
  if (end < 0) throw EPlimoError("The slideshow file cannot be written: " + OutputFile);
  if (end + static_cast<int64_t>(count) >= package::kLargestPackage) {
    throw EPlimoError("The slideshow would be 2 GB or larger, more than a slideshow can hold.");
  }
  if (count > 0 && !file_->WriteAll(bytes, static_cast<int64_t>(count))) {
    throw EPlimoError("The slideshow could not be written (is the disk full?): " + OutputFile);
  }
}

void TPlimo::AppendRecord(const std::vector<uint8_t>& bytes) {
  const int64_t offset = file_->Seek(0, TStream::soFromEnd);
  WriteAtEnd(bytes.data(), bytes.size());
  IndexEntries.push_back(static_cast<int32_t>(offset));
  IndexEntries.push_back(static_cast<int32_t>(bytes.size()));
}

void TPlimo::WritePicture(JpegPicture& picture, const std::string& voicePath,
                          const std::string& messagePath) {
  AppendRecord(picture.Empty() ? std::vector<uint8_t>() : picture.Bytes());
  AppendRecord(PackVoice(voicePath, ProcessMessages));
  AppendRecord(MessageBytes(messagePath));
}

void TPlimo::WriteIndex() {
  std::vector<std::string> links;
  // A menu no player would read goes out as none, rather than have every player refuse the show.
  if (!ReadLinkMenu(lmPlayer, links, paths_.ProgramPath()) || !LinkMenuFitsAShow(links))
    links.clear();
  AppendRecord(ToBytes(JoinLinesCrLf(links)));

  std::vector<uint8_t> table(IndexEntries.size() * 4);
  for (size_t k = 0; k < IndexEntries.size(); ++k) {
    PutLe32(&table[k * 4], static_cast<uint32_t>(IndexEntries[k]));
  }
  WriteAtEnd(table.data(), table.size());
}

void TPlimo::WriteTrailer() {
  uint8_t trailer[package::kTrailerSize] = {};
  PutLe32(trailer + 4, static_cast<uint32_t>(PictureCount()));
  PutLe32(trailer + 8, package::kRecordsPerPicture);
  trailer[12] = TrailerFlag;
  WriteAtEnd(trailer, sizeof trailer);
}

}  // namespace tovak
