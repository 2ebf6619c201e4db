// Settings files and link menus, as the program writes them and as people edit them.

#include <string>

#include "seeds/seeds.h"

namespace tovak::fuzz {

namespace {

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace

void AddTextSeeds(SeedWriter& seeds) {
  const std::pair<const char*, const char*> ini[] = {
      {"settings", "[Settings]\nMode=1\nSizeIndex=2\nQuality=80\nLastFolder=/home/ann/Pictures\n"},
      {"numbers",
       "[n]\na=-2147483648\nb=2147483647\nc=$7FFFFFFF\nd=0x1F\ne=+12\nf= 42 \n"
       "g=--5\nh=0x\ni=12abc\n"},
      {"quotes", "[q]\nplain=\"quoted value\"\nsingle='x'\nodd=\"unbalanced\nempty=\n"},
      {"crlf-bom",
       "\xEF\xBB\xBF[Section One]\r\nKey=Value\r\n; a comment\r\n# another\r\n"
       "[section one]\r\nkey=again\r\n"},
      {"odd",
       "no section=1\n[]\n=empty key\n[a]b]\nx==y\n[utf8 "
       "\xC3\xA9t\xC3\xA9]\ncl\xC3\xA9=\xE2\x82\xAC\n"},
  };
  for (const auto& [name, text] : ini) seeds.Add("ini", name, Text(text));
  for (const char* number : {"0", "-1", "$ff", "0XABCDEF", " 99 ", "4294967296", "-0x80000000"}) {
    seeds.Add("ini", std::string("number-") + number, Text(number));
  }

  const std::pair<const char*, const char*> menus[] = {
      {"two-by-two",
       "[Settings]\nUseInBuilder=1\nUseInPlayer=1\nMenuItems=2\nLanguages=2\n"
       "[1_MenuItems]\n1_Caption=Home\n1_URL=https://example.org/\n"
       "2_Caption=Accueil\n2_URL=https://example.org/fr\n"
       "[2_MenuItems]\n1_Caption=Mail\n1_URL=mailto:family@example.org\n"},
      {"switched-off",
       "[settings]\nuseinplayer=0\nmenuitems=1\nlanguages=1\n"
       "[1_menuitems]\n1_caption=Only\n1_url=https://example.org\n"},
      {"forged-counts", "[Settings]\nUseInPlayer=1\nMenuItems=$7FFFFFFF\nLanguages=3\n"},
      {"negative", "[Settings]\nUseInBuilder=1\nMenuItems=-4\nLanguages=0x2\n"},
  };
  for (const auto& [name, text] : menus) seeds.Add("link_menu", name, Text(text));
}

}  // namespace tovak::fuzz
