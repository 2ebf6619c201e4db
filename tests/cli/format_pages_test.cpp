#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using testing::Quote;
using testing::ReadBytes;
using testing::RunCommand;
using testing::WriteBytes;

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The "hexdump" blocks of a page, in order.
std::vector<std::string> Dumps(const std::string& page) {
  std::vector<std::string> dumps;
  const std::string open = "```hexdump\n";
  for (size_t at = page.find(open); at != std::string::npos; at = page.find(open, at)) {
    at += open.size();
    const size_t end = page.find("```", at);
    dumps.push_back(page.substr(at, end - at));
    at = end;
  }
  return dumps;
}

// bytes[from, end) as the pages show them: offset, two groups of eight, and the printable text.
std::string Dump(const Bytes& bytes, size_t from = 0) {
  std::string dump;
  char cell[24];
  for (size_t line = from; line < bytes.size(); line += 16) {
    std::snprintf(cell, sizeof cell, "%08zx ", line);
    std::string text = "|";
    dump += cell;
    for (size_t k = line; k < line + 16; ++k) {
      if (k % 8 == 0) dump += ' ';
      if (k >= bytes.size()) {
        dump += "   ";
        continue;
      }
      std::snprintf(cell, sizeof cell, "%02x ", bytes[k]);
      dump += cell;
      text += bytes[k] >= 0x20 && bytes[k] < 0x7F ? static_cast<char>(bytes[k]) : '.';
    }
    dump += " " + text + "|\n";
  }
  return dump;
}

Bytes FromHex(const std::string& hex) {
  Bytes bytes;
  for (size_t k = 0; k + 1 < hex.size(); k += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(k, 2), nullptr, 16)));
  }
  return bytes;
}

Bytes Text(const std::string& text) {
  return {text.begin(), text.end()};
}

// The examples the format pages show are what the program makes of their inputs today.
TEST(FormatPages, WorkedExamplesAreWhatTheProgramWrites) {
  testing::TempDir dir;
  // A program folder of its own: a stand-in engine and a link menu, no settings of the user's.
  const std::string cli = dir.File("tovak-cli");
  fs::copy_file(TOVAK_CLI_PATH, cli);
  fs::permissions(cli, fs::perms::owner_all);
  WriteBytes(dir.File("PlimoEng.dll"), Text("stand-in engine\n"));
  WriteBytes(dir.File("Tovak! Urls.ini"),
             Text("[Settings]\nUseInPlayer=1\nMenuItems=1\nLanguages=1\n[1_MenuItems]\n"
                  "1_Caption=Home\n1_URL=https://example.org/\n"));
  const auto run = [&](const std::string& arguments) {
    const auto result = RunCommand("env XDG_CONFIG_HOME=" + Quote(dir.File("config")) + " " +
                                   Quote(cli) + " " + arguments);
    EXPECT_EQ(result.status, 0) << arguments << "\n" << result.output;
  };

  // A 1 x 1 grey JPEG, stored as it is.
  WriteBytes(dir.File("one.jpg"),
             FromHex("ffd8ffdb004300100b0c0e0c0a100e0d0e1211101318281a181616183123251d283a333d3c"
                     "3933383740485c4e404457453738506d51575f626768673e4d71797064785c656763ffc000"
                     "0b080001000101011100ffc40014000100000000000000000000000000000001ffc40014"
                     "100100000000000000000000000000000000ffda0008010100003f001fffd9"));
  WriteBytes(dir.File("one.txt"), Text("Hello\n"));
  const std::string show = dir.File("show.exe");
  run("build --mode full --size-index 0 --quality 0 -o " + Quote(show) + " " +
      Quote(dir.File("one.jpg")));
  const Bytes package = ReadBytes(show);
  ASSERT_GT(package.size(), 64u);
  const size_t firstRecord = GetLe32(&package[package.size() - 16 - 32]);
  const auto packagePage = Dumps(ReadText(std::string(TOVAK_DOCS) + "/package-format.md"));
  ASSERT_EQ(packagePage.size(), 1u);
  EXPECT_EQ(Dump(package, firstRecord), packagePage[0]);

  const auto containerPage = Dumps(ReadText(std::string(TOVAK_DOCS) + "/voice-container.md"));
  const std::vector<std::pair<std::string, std::string>> containers = {
      {"abc", "lzh"},
      {"", "lzh"},
      {"abcabcabcabc" + std::string(20, 'z'), "lzrw1kh"},
      {"", "lzrw1kh"}};
  ASSERT_EQ(containerPage.size(), containers.size());
  for (size_t k = 0; k < containers.size(); ++k) {
    const std::string in = dir.File("in"), out = dir.File("out" + std::to_string(k));
    WriteBytes(in, Text(containers[k].first));
    run("compress --method " + containers[k].second + " " + Quote(in) + " " + Quote(out));
    EXPECT_EQ(Dump(ReadBytes(out)), containerPage[k]) << "example " << k + 1;
  }
}

}  // namespace
}  // namespace tovak
