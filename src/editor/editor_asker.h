#pragma once

#include <string>

namespace tovak {

// The editor's questions and messages to the user. The window answers them with message boxes;
// tests answer them directly. Texts arrive translated and filled in.
class EditorAsker {
 public:
  enum class Kind { Information, Warning, Error };
  virtual ~EditorAsker() = default;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(Kind kind, const std::string& text) = 0;
  // A question whose Yes deletes something of the user's: No is the answer that Enter gives,
  // so a reflex keeps the work. Askers without buttons of their own ask as AskYesNo does.
  virtual bool AskBeforeDeleting(Kind kind, const std::string& text) {
    return AskYesNo(kind, text);
  }
  // A message with an OK button.
  virtual void Tell(Kind kind, const std::string& text) = 0;
};

}  // namespace tovak
