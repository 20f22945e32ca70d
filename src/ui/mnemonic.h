#pragma once

#include <QString>

namespace zelar::ui {

// A control's keyboard letter (Alt and the letter), which the window's form file marks with
// "&" before it. The models hold captions as the user reads them, without the mark; the
// binding puts the letter back on whatever caption its model shows.
class Mnemonic {
  public:
    explicit Mnemonic(const QString& designed);
    // The caption to give the widget: the form's own text when the caption is that text,
    // else the caption with the mark before the first occurrence of the letter, if any. A "&"
    // in the caption is shown as one.
    QString apply(const QString& caption) const;

  private:
    QString designed_;
    QString plain_;
    QChar letter_;
};

}  // namespace zelar::ui
