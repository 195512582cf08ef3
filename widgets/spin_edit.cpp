#include "widgets/spin_edit.h"

#include <QLineEdit>
#include <QLocale>
#include <algorithm>

TSpinEdit::TSpinEdit(QWidget* AOwner) : QSpinBox(AOwner) {
  setRange(1, 1000);
  setSingleStep(1);
  setValue(1);
  lastText_ = Text();
  // The spin box reports the texts it sets itself (steps, SetValue), the
  // editor those typed or put in, whether numbers or not; some changes
  // come through both.
  connect(this, &QSpinBox::textChanged, this, &TSpinEdit::TextMaybeChanged);
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::TextMaybeChanged);
}

void TSpinEdit::TextMaybeChanged() {
  if (Text() == lastText_) return;
  lastText_ = Text();
  if (onChange_) onChange_(this);
}

QString TSpinEdit::Text() const { return lineEdit()->text(); }

void TSpinEdit::SetText(const QString& Value) { lineEdit()->setText(Value); }

int TSpinEdit::Value() const {
  const QString text = Text().trimmed();
  bool ok = false;
  int v = locale().toInt(text, &ok);
  if (!ok) v = text.toInt(&ok);
  if (!ok) return MinValue();
  return std::clamp(v, MinValue(), MaxValue());
}
