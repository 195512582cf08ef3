#pragma once
// TSpinEdit: an edit for whole numbers with up and down buttons.
//
// Value reads the text each time: a text that is not a whole number counts
// as MinValue, and a number outside MinValue..MaxValue is held to that
// range. OnChange fires on every change of the text, typed or set.
#include <QSpinBox>

#include "platform/control.h"

class TSpinEdit : public QSpinBox {
  Q_OBJECT
 public:
  explicit TSpinEdit(QWidget* AOwner = nullptr);

  int MinValue() const { return minimum(); }
  void SetMinValue(int Value) { setMinimum(Value); }
  int MaxValue() const { return maximum(); }
  void SetMaxValue(int Value) { setMaximum(Value); }
  int Increment() const { return singleStep(); }
  void SetIncrement(int Value) { setSingleStep(Value); }

  int Value() const;
  void SetValue(int Value) { setValue(Value); }

  QString Text() const;
  // Puts the text into the edit as it stands, as a user's typing would.
  void SetText(const QString& Value);

  TNotifyEvent OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent Value) { onChange_ = std::move(Value); }

 private:
  void TextMaybeChanged();

  TNotifyEvent onChange_;
  QString lastText_;
};
