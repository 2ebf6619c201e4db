#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_asker.h"

namespace tovak::testing {

// Answers the program's questions from a script (Yes when it runs out) and keeps everything it
// was asked and told, for any asker interface derived from EditorAsker.
template <typename Base = EditorAsker>
class ScriptedAsker : public Base {
 public:
  using Kind = EditorAsker::Kind;

  bool AskYesNo(Kind, const std::string& text) override {
    asked.push_back(text);
    const bool yes = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  // Records the question among those whose default answer is No.
  bool AskBeforeDeleting(Kind kind, const std::string& text) override {
    askedWithNoDefault.push_back(text);
    return AskYesNo(kind, text);
  }
  void Tell(Kind kind, const std::string& text) override { told.push_back({kind, text}); }

  std::deque<bool> answers;
  std::vector<std::string> asked;
  std::vector<std::string> askedWithNoDefault;
  std::vector<std::pair<Kind, std::string>> told;
};

}  // namespace tovak::testing
