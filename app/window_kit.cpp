#include "app/window_kit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

QButtonGroup* RadioGroupItems(const QGroupBox* RadioGroup) {
  return RadioGroup ? RadioGroup->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly)
                    : nullptr;
}

void MakeRadioGroup(QGroupBox* RadioGroup) {
  auto* items = new QButtonGroup(RadioGroup);
  int id = 0;
  for (QRadioButton* b : RadioGroup->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
    items->addButton(b, id++);
}

int RadioGroupItemIndex(const QGroupBox* RadioGroup) {
  const QButtonGroup* items = RadioGroupItems(RadioGroup);
  return items ? items->checkedId() : -1;
}

void SetRadioGroupItemIndex(QGroupBox* RadioGroup, int Index) {
  QButtonGroup* items = RadioGroupItems(RadioGroup);
  if (!items) return;
  if (QAbstractButton* b = items->button(Index)) {
    b->setChecked(true);
  } else if (QAbstractButton* checked = items->checkedButton()) {
    items->setExclusive(false);
    checked->setChecked(false);
    items->setExclusive(true);
  }
}
