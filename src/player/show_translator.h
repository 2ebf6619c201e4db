#pragma once

#include <QTranslator>
#include <string>

#include "player/show_texts.h"

namespace tovak {

// The show's own texts from the table built into the player, for a show that runs without the
// program's dictionary beside it: sent to someone, it speaks their language, not English.
class ShowTranslator : public QTranslator {
 public:
  // locale as the system names it, "de_AT.UTF-8" or "fr".
  explicit ShowTranslator(const std::string& locale);

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override;
  bool isEmpty() const override { return texts_.Language() == 0; }

 private:
  ShowTexts texts_;
};

}  // namespace tovak
